#include "saw/ui/import_tab.h"


#include "saw/ui/widget_sync.h"

namespace orl {
namespace {

constexpr const char* kJobFoldersCaption = "Job Folders";
constexpr const char* kOptimizerFilesCaption = "Optimizer Files";
constexpr const char* kPatternsCaption = "Patterns";
constexpr const char* kPartsCaption = "Parts";
constexpr const char* kPatternMetricsCaption = "Pattern Metrics";
constexpr const char* kShowNextCaption = "Show &Next";
constexpr const char* kShowLoadedPatternCaption = "Show Loaded &Pattern";
constexpr const char* kLoadCaption = "&Load";
constexpr const char* kImportWarningsCaption = "Import Warnings";
constexpr const char* kParentFolder = "..";

QLabel* Caption(const char* text, QWidget* parent, int x, int y, int width) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(x, y, width, 18);
  return label;
}

}  // namespace

ImportTab::ImportTab(const WindowContext& context, QWidget* parent)
    : QWidget(parent), context_(context), ws_(context.ws) {
  BuildJobBrowser();
  BuildPatterns();
  BuildMetrics();
}

void ImportTab::BuildJobBrowser() {
  Caption(kJobFoldersCaption, this, 5, 3, 150);
  Dir1Folder = new QLabel(this);
  Dir1Folder->setGeometry(5, 20, 150, 18);
  Dir1Folder->setStyleSheet("font-weight: bold");
  Dir1 = new QListWidget(this);
  Dir1->setObjectName("Dir1");
  Dir1->setGeometry(5, 38, 150, 135);
  // Entries by their place in the list: a folder's own name, whatever bytes
  // it holds, not the text shown for it (the first entry is the folder above).
  connect(Dir1, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    const int row = Dir1->row(item);
    const auto& folders = ws_.jobs().Dir1Entries;
    if (row < 0 || row > static_cast<int>(folders.size())) return;
    const std::string entry = row == 0 ? std::string(kParentFolder) : folders[row - 1];
    context_.Forward([&] { ws_.Dir1EntryOpened(entry); });
  });
  JobBrs = new QPushButton(this);
  JobBrs->setObjectName("JobBrs");
  JobBrs->setGeometry(5, 177, 150, 28);
  connect(JobBrs, &QPushButton::clicked, this, [this] { context_.Forward([&] { ws_.JobBrsClicked(); }); });
  Caption(kOptimizerFilesCaption, this, 5, 210, 150);
  File2 = new QListWidget(this);
  File2->setObjectName("File2");
  File2->setGeometry(5, 228, 150, 182);
  const auto read = [this](QListWidgetItem* item) {
    const int row = File2->row(item);
    if (row < 0 || row >= static_cast<int>(ws_.jobs().File2.entries.size())) return;
    const std::string name = ws_.jobs().File2.entries[row];
    context_.Forward([&] { ws_.OptimizerFileClicked(name); });
  };
  connect(File2, &QListWidget::itemClicked, this, read);
  connect(File2, &QListWidget::itemActivated, this, read);
}

void ImportTab::BuildPatterns() {
  Caption(kPatternsCaption, this, 162, 3, 170);
  Pat = new QListWidget(this);
  Pat->setObjectName("Pat");
  Pat->setGeometry(160, 20, 175, 200);
  connect(Pat, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) context_.Forward([&] { ws_.PatClicked(row); });
  });
  Caption(kPartsCaption, this, 162, 225, 170);
  Parts = new QListWidget(this);
  Parts->setObjectName("Parts");
  Parts->setGeometry(160, 243, 175, 167);

  ImpLab1 = new QLabel(this);
  ImpLab1->setObjectName("ImpLab1");
  ImpLab1->setGeometry(342, 3, 280, 18);
  Preview = new PreviewWidget(ws_.optimizerView().Drawing, this);
  Preview->setObjectName("Preview");
  Preview->setGeometry(342, 22, 280, 270);
  ImpLab2 = new QLabel(this);
  ImpLab2->setObjectName("ImpLab2");
  ImpLab2->setGeometry(342, 294, 280, 18);
  Caption(kImportWarningsCaption, this, 342, 315, 200);
  Warnings = new QListWidget(this);
  Warnings->setObjectName("Warnings");
  Warnings->setGeometry(342, 333, 438, 77);
}

void ImportTab::BuildMetrics() {
  auto* metrics = new QGroupBox(kPatternMetricsCaption, this);
  metrics->setGeometry(628, 3, 152, 322);
  LBLShowPh = new QLabel(metrics);
  LBLShowPh->setObjectName("LBLShowPh");
  LBLShowPh->setGeometry(8, 20, 140, 34);
  LBLShowPh->setWordWrap(true);
  VScrollPH = new QScrollBar(Qt::Vertical, metrics);
  VScrollPH->setObjectName("VScrollPH");
  VScrollPH->setGeometry(8, 58, 18, 120);
  VScrollPH->setInvertedAppearance(true);  // the step count at the top, as the bar's Min
  connect(VScrollPH, &QScrollBar::valueChanged, this,
          [this](int value) { context_.Forward([&] { ws_.StepBarChanged(value); }); });
  TextShowPh = new QLineEdit(metrics);
  TextShowPh->setObjectName("TextShowPh");
  TextShowPh->setGeometry(34, 58, 50, 24);
  TextShowPh->setReadOnly(true);
  LBLPhases = new QLabel(metrics);
  LBLPhases->setObjectName("LBLPhases");
  LBLPhases->setGeometry(34, 90, 110, 18);
  ShNxt = new QCheckBox(kShowNextCaption, metrics);
  ShNxt->setObjectName("ShNxt");
  ShNxt->setGeometry(8, 185, 140, 22);
  connect(ShNxt, &QCheckBox::clicked, this, [this] { context_.Forward([&] { ws_.ShowNextClicked(); }); });
  BtnLdPat = new QPushButton(kShowLoadedPatternCaption, metrics);
  BtnLdPat->setObjectName("BtnLdPat");
  BtnLdPat->setGeometry(4, 212, 144, 48);
  ImpLoad = new QPushButton(kLoadCaption, metrics);
  ImpLoad->setObjectName("ImpLoad");
  ImpLoad->setGeometry(4, 266, 144, 48);
  connect(BtnLdPat, &QPushButton::clicked, this, [this] { context_.Forward([&] { ws_.ShowLoadedPatternClicked(); }); });
  connect(ImpLoad, &QPushButton::clicked, this, [this] { context_.Forward([&] { ws_.LoadPatternClicked(); }); });
}

void ImportTab::Render() {
  const OptimizerView& view = ws_.optimizerView();
  const OptimizerModel& model = ws_.optimizer();
  SyncText(Dir1Folder, ws_.jobs().Dir1);
  std::vector<std::string> folders{kParentFolder};
  folders.insert(folders.end(), ws_.jobs().Dir1Entries.begin(), ws_.jobs().Dir1Entries.end());
  SyncList(Dir1, folders);
  if (JobBrs->text() != Q(ws_.jobs().JobBrsCaption)) JobBrs->setText(Q(ws_.jobs().JobBrsCaption));
  const bool file2Refilled = SyncList(File2, ws_.jobs().File2.entries);
  SyncListCurrent(File2, ws_.ShownOptimizerFileIndex(), shownOptimizerFile_, file2Refilled);
  SyncList(Pat, model.Pat.Items, model.Pat.ListIndex);
  SyncList(Parts, model.Parts.Items);
  Preview->Render(model.ShownPatternKey + "|" + view.TextShowPh + "|" + std::to_string(view.Drawing.Ops().size()));
  SyncText(ImpLab1, view.ImpLab1);
  SyncText(ImpLab2, view.ImpLab2);
  SyncText(LBLPhases, view.LBLPhases);
  SyncText(LBLShowPh, view.LBLShowPh);
  {
    const QSignalBlocker blocker(VScrollPH);
    VScrollPH->setRange(std::min(view.VScrollPH.Max, view.VScrollPH.Min), std::max(view.VScrollPH.Max, view.VScrollPH.Min));
    VScrollPH->setValue(view.VScrollPH.Value);
  }
  if (TextShowPh->text() != Q(view.TextShowPh)) TextShowPh->setText(Q(view.TextShowPh));
  SyncVisibleEnabled(ShNxt, true, view.ShNxtEnabled);
  SyncChecked(ShNxt, ws_.ShowNext());
  SyncVisibleEnabled(BtnLdPat, true, view.BtnLdPatEnabled);
  SyncList(Warnings, ws_.LastImportWarnings());
}

}  // namespace orl
