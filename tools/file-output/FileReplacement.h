#pragma once

#include <functional>
#include <string>

// Writes a file whole or not at all: `write` fills a temporary file in the target's folder,
// which is then renamed to `path`, so a failed or interrupted run leaves neither a partial
// file nor a damaged earlier one. Through a link the file it names is replaced and the link
// stays. The new file keeps the permissions of the one it replaces, or gets those of a new
// file. False with a message when the folder is not writable, `write` fails (its own message
// is kept) or the rename fails.
bool writeFileWhole(const std::string& path,
                    const std::function<bool(const std::string& temporaryPath)>& write,
                    std::string& error);
