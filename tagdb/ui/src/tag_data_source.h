// The tag editor's view of the tag database: its own connection to the file,
// the TagData table as a QSqlTableModel whose changes are held until saved,
// and the data type names of EnNumerations. Every write runs in a transaction,
// so a failed one leaves the file as it was.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

class QSqlDatabase;
class QSqlTableModel;

namespace queldb::ui {

// The database's own message; nullopt on success.
using DbResult = std::optional<QString>;

class TagDataSource {
 public:
  explicit TagDataSource(QString databaseFile);
  ~TagDataSource();
  TagDataSource(const TagDataSource&) = delete;
  TagDataSource& operator=(const TagDataSource&) = delete;

  const QString& DatabaseFile() const { return databaseFile_; }
  // Opens the file (never creating it) and reads every row of TagData.
  DbResult Open();
  // The DataType column of EnNumerations, in the table's order.
  DbResult ReadDataTypeNames(QStringList& names) const;

  // Null until Open succeeded.
  QSqlTableModel* Tags() const { return model_; }
  int RowCount() const;

  // Writes the held changes; when that fails they are still held.
  DbResult Save();
  // Forgets the held changes.
  void DiscardChanges();
  // Saves the held changes first, then adds a row with the New values; newRow
  // is its row, the last one.
  DbResult AddNewRow(int& newRow);
  // Saves the held changes first; a failure there leaves the row in place.
  DbResult DeleteRow(int row);

 private:
  struct HeldEdit {
    int row;
    int column;
    QVariant value;
  };

  QSqlDatabase Database() const;
  // The changed fields not yet written, to hold again after a failed save.
  QList<HeldEdit> HeldEdits() const;
  DbResult InTransaction(const std::function<DbResult()>& work);
  DbResult InsertNewRow();
  void SelectAll();
  void FetchAll();

  QString databaseFile_;
  QString connectionName_;
  QSqlTableModel* model_ = nullptr;
};

}  // namespace queldb::ui
