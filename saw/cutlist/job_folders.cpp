#include "saw/cutlist/job_folders.h"

#include "saw/shell/machine_parameters.h"

namespace orl {

void ShowJobFolder(JobBrowser& browser, const std::string& folder, const FileSystem& fileSystem) {
  browser.Dir1 = folder;
  browser.Dir1Entries = fileSystem.ListFolders(folder);
  browser.File2.folder = folder;
  browser.File2.Refresh(fileSystem);
}

void ToggleRemovableMedia(JobBrowser& browser, const std::string& jobFolder, const std::string& removableFolder,
                          const FileSystem& fileSystem, Ui& ui) {
  if (IsOnRemovableMedia(browser.Dir1, removableFolder)) {
    ShowJobFolder(browser, jobFolder, fileSystem);
    browser.JobBrsCaption = kAccessFloppy;
  } else if (DriveReady(fileSystem, removableFolder, removableFolder)) {
    ShowJobFolder(browser, removableFolder, fileSystem);
    browser.JobBrsCaption = kAccessHd;
  } else {
    Warn(ui, kFloppyNotReady);
  }
}

}  // namespace orl
