// The private folder of the backing files of long mantissas.
//
// A process keeps its files in a folder of its own, "numbrix-<pid>-XXXXXX" with
// mode 0700, under $TMPDIR (or /tmp when that is unset or empty), made when the
// first file is needed. Inside, files are named by a counter, "00000000.num"
// and on; each is created new (never an existing file, never through a
// symbolic link) and reopened only without following links.
//
// The folder goes with the process: at normal exit, and on SIGINT, SIGTERM and
// SIGHUP whose action is the default one when the folder is made (the signal
// still ends the process, after the files and the folder are removed). A
// handler installed by the program itself is left in place and is not
// interposed: it decides whether the process ends, and a normal exit removes
// the folder. Folders of processes that died otherwise (SIGKILL, a crash) are
// removed by the next process of the same user that makes its folder there,
// or by removeOrphanedScratchFolders().
//
// Errors throw ResourceError. Like the rest of the library, one thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace bignum {

struct ScratchFile {
  std::uint32_t number;
  int fd;  // open for reading and writing, close-on-exec; the caller closes it
};

// A new, empty file with the next free number, making the folder first when
// there is none. Throws ResourceError when the folder or the file cannot be made.
ScratchFile createScratchFile();

// Opens file `number` (made by createScratchFile) with `flags` (O_RDONLY or
// O_RDWR), not following a link. Throws ResourceError when it cannot.
int openScratchFile(std::uint32_t number, int flags);

// Removes file `number`; one that is gone already is no error.
void removeScratchFile(std::uint32_t number);

// The path of file `number` in the folder (empty before the folder is made).
std::string scratchFilePath(std::uint32_t number);

// The folder, or an empty text before it is made (and after it is removed).
std::string scratchFolder();

// How many files made by createScratchFile are not removed yet.
std::size_t scratchFilesInUse();

// Removes the files and the folder now; runs at exit. A later file makes a new folder.
void removeScratchFolder();

// Removes every "numbrix-<pid>-*" folder under the temporary root that belongs
// to this user (the effective user id) and whose process no longer exists:
// the regular files inside, then the folder. Links are never followed; a
// folder that holds anything else stays. Returns how many folders went.
std::size_t removeOrphanedScratchFolders();

}  // namespace bignum
