#pragma once
// Path composition for program, data and document files.
//
// Paths use "/" and folders end in "/". Paths read from stored files (documents,
// configuration) may have been written with "\": pass them through from_stored_path().
#include <optional>
#include <string>

namespace kovra::store {

// Turns every "\" of a stored path into "/". Anything else (a drive prefix such as
// "C:") is kept as it stands.
std::string from_stored_path(const std::string& stored);

// Creates the folder and every missing parent; true when the folder exists afterwards.
bool force_directories(const std::string& path);

// The folder made absolute: a trailing "/" is added when missing; a relative folder is
// taken against the current directory; then "." steps are removed and every folder name
// followed by ".." is folded away (".." at the root stays at the root).
std::string make_absolute(const std::string& folder);

// The path with a trailing "/" added when missing. An empty path stays empty: it stands
// for the current folder, not the root.
std::string add_backslash(const std::string& path);

// Folder part (up to and including the last "/"), file name without extension, and
// extension (from the last "." of the file name, dot included; "" when none).
std::string folder_part(const std::string& path);
std::string name_part(const std::string& path);
std::string extension_part(const std::string& path);

// folder + name + extension; an empty name or extension is taken from `folder`'s own
// file part ("/x/doc.kvr" with "" and ".kv~" gives "/x/doc.kv~"). An extension given
// without its dot gets one.
std::string join(const std::string& folder, const std::string& name, const std::string& extension);

// The folder `name` inside the folder part of `path`, ending in "/"
// ("/prog/" with "dane" gives "/prog/dane/").
std::string with_subfolder(const std::string& path, const std::string& name);

// Takes the program folder from the first command-line word (its folder part, made
// absolute) and stores it with set_program_folder(). A bare program name found through
// the search path has no folder part: the folder of the running executable is used.
void set_program_folder_from_command(const std::string& first_word);

// `name` in the program folder.
std::string program_file(const std::string& name);

// Name of the copy kept while a document is open: the extension replaced by a dot, its
// first two characters and "~", a missing character taken as "~"
// ("a.kvr" -> "a.kv~", "a.k" -> "a.k~~", "a" -> "a.~~~").
std::string working_copy_name(const std::string& path);

// The next free numbered file name in a folder. `folder_and_extension` names the folder
// and the extension (for example "/x/wydruki/.prn"); `prefix` has at most 2 characters.
// Among the files named prefix + digits + extension the highest number n is found and
// the result is folder + prefix + (n + 1) in 3 - (prefix length) zero-padded digits +
// extension (n is -1 when there is none, so the first name ends in 0). Fails for a longer
// prefix and when n + 1 does not fit in that many digits.
std::optional<std::string> numbered_name(const std::string& folder_and_extension, const std::string& prefix);

} // namespace kovra::store
