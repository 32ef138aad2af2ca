#include "tag_data_source.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QUrl>
#include <QUuid>

#include "new_tag_values.h"

namespace queldb::ui {
namespace {

constexpr const char* kTagTable = "TagData";
constexpr const char* kDataTypeTable = "EnNumerations";
constexpr const char* kDataTypeField = "DataType";
// "mode=rw": a missing file is an error, never a new empty database. A writer
// elsewhere holding the file gets a second to finish before "database is locked".
constexpr const char* kConnectOptions = "QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=1000";

QString ErrorText(const QSqlError& error, const QString& fallback) {
  const QString text = error.text().trimmed();
  return text.isEmpty() ? fallback : text;
}

}  // namespace

TagDataSource::TagDataSource(QString databaseFile)
    : databaseFile_(std::move(databaseFile)),
      connectionName_("queldb-tag-editor-" + QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

TagDataSource::~TagDataSource() {
  delete model_;
  // The model held the last handle on the connection besides the registry.
  if (QSqlDatabase::contains(connectionName_)) {
    QSqlDatabase::database(connectionName_, false).close();
    QSqlDatabase::removeDatabase(connectionName_);
  }
}

QSqlDatabase TagDataSource::Database() const { return QSqlDatabase::database(connectionName_, false); }

DbResult TagDataSource::Open() {
  QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connectionName_);
  QUrl url = QUrl::fromLocalFile(databaseFile_);
  url.setQuery("mode=rw");
  db.setDatabaseName(url.toString(QUrl::FullyEncoded));
  db.setConnectOptions(kConnectOptions);
  if (!db.open()) return ErrorText(db.lastError(), "the file cannot be opened");

  auto* model = new QSqlTableModel(nullptr, db);
  model->setTable(kTagTable);
  model->setEditStrategy(QSqlTableModel::OnManualSubmit);
  if (model->record().isEmpty() || !model->select()) {
    QString text = ErrorText(model->lastError(), QString("no table %1").arg(kTagTable));
    delete model;
    return text;
  }
  model_ = model;
  FetchAll();
  return std::nullopt;
}

DbResult TagDataSource::ReadDataTypeNames(QStringList& names) const {
  QSqlQuery query(Database());
  if (!query.exec(QString("SELECT * FROM %1").arg(kDataTypeTable))) {
    return ErrorText(query.lastError(), "no data type list");
  }
  const int column = query.record().indexOf(kDataTypeField);  // any letter case
  if (column < 0) return QString("no field %1 in %2").arg(kDataTypeField, kDataTypeTable);
  while (query.next()) {
    if (!query.value(column).isNull()) names << query.value(column).toString();
  }
  return std::nullopt;
}

int TagDataSource::RowCount() const { return model_ ? model_->rowCount() : 0; }

void TagDataSource::SelectAll() {
  model_->select();
  FetchAll();
}

// The model reads a large table in pieces; "last row" means the table's last.
void TagDataSource::FetchAll() {
  while (model_->canFetchMore()) model_->fetchMore();
}

DbResult TagDataSource::InTransaction(const std::function<DbResult()>& work) {
  QSqlDatabase db = Database();
  if (!db.transaction()) return ErrorText(db.lastError(), "no transaction");
  DbResult failure = work();
  if (failure) {
    db.rollback();
    return failure;
  }
  if (db.commit()) return std::nullopt;
  failure = ErrorText(db.lastError(), "the commit failed");
  db.rollback();
  SelectAll();  // the rows shown were read inside the transaction
  return failure;
}

DbResult TagDataSource::Save() {
  if (!model_ || !model_->isDirty()) return std::nullopt;
  const QList<HeldEdit> edits = HeldEdits();
  DbResult failure = InTransaction([this]() -> DbResult {
    // On success the model reads the table again.
    if (!model_->submitAll()) return ErrorText(model_->lastError(), "the row cannot be written");
    FetchAll();
    return std::nullopt;
  });
  // A commit refused after the rows were written has had the model read the
  // table again, and rows written before a refused one count as saved: hold
  // every edit anew on the table as it stands after the rollback.
  if (failure) {
    model_->revertAll();
    for (const HeldEdit& edit : edits) model_->setData(model_->index(edit.row, edit.column), edit.value);
  }
  return failure;
}

QList<TagDataSource::HeldEdit> TagDataSource::HeldEdits() const {
  QList<HeldEdit> edits;
  for (int row = 0; row < model_->rowCount(); ++row) {
    for (int column = 0; column < model_->columnCount(); ++column) {
      const QModelIndex index = model_->index(row, column);
      if (model_->isDirty(index)) edits.append({row, column, index.data(Qt::EditRole)});
    }
  }
  return edits;
}

void TagDataSource::DiscardChanges() {
  if (model_) model_->revertAll();
}

DbResult TagDataSource::AddNewRow(int& newRow) {
  if (!model_) return QString("no tag table");
  // Pending edits first: the table is read again below, which would drop them.
  if (DbResult failure = Save()) return failure;
  if (DbResult failure = InTransaction([this] { return InsertNewRow(); })) return failure;
  SelectAll();
  newRow = model_->rowCount() - 1;
  return std::nullopt;
}

// Fields the table lacks are left out; the table's own spelling is used.
DbResult TagDataSource::InsertNewRow() {
  QSqlDatabase db = Database();
  const QSqlRecord fields = model_->record();
  auto existing = [&](const QList<QPair<QString, QVariant>>& values) {
    QList<QPair<QString, QVariant>> kept;
    for (const auto& [name, value] : values) {
      const int column = fields.indexOf(name);
      if (column >= 0) {
        kept.append({db.driver()->escapeIdentifier(fields.fieldName(column), QSqlDriver::FieldName), value});
      }
    }
    return kept;
  };
  QStringList columns, marks;
  const auto defaults = existing(NewTagDefaults());
  for (const auto& field : defaults) {
    columns << field.first;
    marks << "?";
  }
  QSqlQuery insert(db);
  insert.prepare(columns.isEmpty() ? QString("INSERT INTO %1 DEFAULT VALUES").arg(kTagTable)
                                   : QString("INSERT INTO %1 (%2) VALUES (%3)")
                                         .arg(kTagTable, columns.join(", "), marks.join(", ")));
  for (const auto& field : defaults) insert.addBindValue(field.second);
  if (!insert.exec()) return ErrorText(insert.lastError(), "the row cannot be added");

  const auto names = existing(NewTagNamesFor(insert.lastInsertId().toLongLong()));
  for (const auto& [column, value] : names) {
    QSqlQuery update(db);
    update.prepare(QString("UPDATE %1 SET %2 = ? WHERE rowid = ?").arg(kTagTable, column));
    update.addBindValue(value);
    update.addBindValue(insert.lastInsertId());
    if (!update.exec()) return ErrorText(update.lastError(), "the new row cannot be named");
  }
  return std::nullopt;
}

DbResult TagDataSource::DeleteRow(int row) {
  if (DbResult failure = Save()) return failure;
  DbResult failure = InTransaction([this, row]() -> DbResult {
    if (!model_->removeRow(row) || !model_->submitAll()) {
      return ErrorText(model_->lastError(), "the row cannot be deleted");
    }
    FetchAll();
    return std::nullopt;
  });
  if (failure) model_->revertAll();
  return failure;
}

}  // namespace queldb::ui
