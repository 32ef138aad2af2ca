#pragma once
// The rules of the directory chooser, where the operator picks a folder for
// the paths grid and may create a new one on the spot.
#include <optional>
#include <string>
#include <string_view>

namespace orl {

// The folder the chooser opens on: the folder it is given ('\' or '/'
// separators, blanks around it ignored, relative to the current folder)
// when that folder exists, otherwise the current folder. Always absolute,
// normalised, without a trailing separator (the root stays "/").
std::string ChooserStartFolder(std::string_view dirBoxPath);

// The folder to create inside the current one from the text typed in the
// new-folder box, blanks around it ignored; nothing (nullopt) when the box
// is empty or blank, or the text is no single folder name ("." and "..",
// or a name holding a separator, which would reach outside the current
// folder).
std::optional<std::string> NewFolderName(std::string_view typed);

}  // namespace orl
