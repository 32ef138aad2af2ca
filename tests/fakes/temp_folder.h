#pragma once
// A fresh folder under the system's temporary folder, removed afterwards.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace orl::testing {

class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("orl-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The folder as the program writes folders: with a trailing '/'.
  std::string Folder() const { return path_.string() + "/"; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

  std::string Write(const std::string& name, const std::string& contents) const {
    std::filesystem::create_directories((path_ / name).parent_path());
    std::ofstream(path_ / name, std::ios::binary) << contents;
    return File(name);
  }

  // The bundled examples copied in, without the history file that runs of
  // the tool on the examples themselves leave beside them (and may be
  // writing, its journal coming and going, while a test copies).
  void CopyExamples(const std::filesystem::path& examples) const {
    for (auto it = std::filesystem::recursive_directory_iterator(examples);
         it != std::filesystem::recursive_directory_iterator(); ++it) {
      const std::filesystem::path to = path_ / std::filesystem::relative(it->path(), examples);
      if (it->is_directory()) std::filesystem::create_directories(to);
      else if (!it->path().filename().string().starts_with("history.sqlite")) std::filesystem::copy_file(it->path(), to);
    }
  }

  std::string Read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::filesystem::path path_;
};

}  // namespace orl::testing
