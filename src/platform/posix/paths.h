// How a package path (Windows form) becomes a POSIX path: "X:\a\b" lives at
// <drive root>/x/a/b, "\" and "/" both separate, and each component missing
// under its exact name takes the first entry of its parent that matches it
// without regard to letter case. Components that match nothing stay as
// written, so that files and directories can still be created.
//
// The package's paths are code page 1252 text, like all its text; the file
// system's names are UTF-8. Every component is converted on the way down
// and every name read from a directory on the way up, so that a host
// directory or drive root with "ção" in it names the directory a UTF-8
// terminal shows as "ção". A name on disk that is not UTF-8 (written by a
// program in another code page) is taken byte for byte.
#pragma once

#include <string>
#include <string_view>

namespace zul00500::platform::posix {

std::string resolve_path(std::string_view path);

// A name or path in the package's text as the file system spells it, and
// the file system's name as package text.
std::string native_text(std::string_view package);
std::string package_text(std::string_view native);

// A package path as an error text shows it: as this system writes paths,
// "/" between the components of a path that does not start with a drive
// letter ("/srv/pos/Dados/TefDisc/intpos.1", never "/srv/pos\Dados\...").
std::string shown_path(std::string_view path);

// Resolves everything but the last component; `last` receives that component
// as written (empty when the path ends with a separator or names only a root).
std::string resolve_parent(std::string_view path, std::string& last);

// The entry of `directory` (a resolved path; empty for the working directory)
// named `name` (package text): exact first, else a case-insensitive match,
// as the file system spells it; empty when there is none. A large
// directory's listing is kept between calls, and every change to it, by this
// process or another program, is applied to it as the kernel tells it.
std::string find_entry(const std::string& directory, std::string_view name);

// `directory` + "/" + `name`, where an empty directory is the working one.
std::string join(const std::string& directory, std::string_view name);

// Where drive letters live when no one chose: $ZUL_DRIVE_ROOT, else the
// user's data folder + "/zul00500/drives" (environment.h), else a folder of
// this user under /tmp. Empty texts stand for unset variables.
std::string default_drive_root_from(std::string_view zul_drive_root, std::string_view user_data_folder,
                                    unsigned long uid);

} // namespace zul00500::platform::posix
