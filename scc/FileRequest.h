// scc/FileRequest.h - what the file commands share: the frame of a call, the host's list of
// names checked and turned into the paths a command works on, the host's scratch files, and
// keeping a user's content aside while a command may overwrite it.
#pragma once

#include "engine/CVSContext.h"
#include "scc/SccApi.h"

#include <functional>
#include <string>
#include <vector>

// Runs a command on the host's context: sets the context's window, shows the busy cursor
// when asked, and answers SCC_E_NONSPECIFICERROR (with a message box) for a null context,
// which no host should pass.
SCCRTN RunFileCommand(void* context, SccWindow window, bool busy,
                      const std::function<SCCRTN(CCVSContext&)>& command);

// What a command expects the host's names to be.
enum class NameKind { Files, Folders, Any };

// The host's names as the paths the command works on, each once (a name given twice is
// handled once, and the pane says so); none, with a note in the pane, for a count of zero.
// False, with the reason in the output pane, when a name
// cannot be worked on: a null or empty name, a relative one or one with "." or ".."
// components, a folder where files are expected or a file where folders are, a name outside
// the open project (or any name while no project is open). Nothing has run then.
// positions, when given, receives for each path the index of its name in the host's list.
bool TakeNames(CCVSContext& context, SccLong count, const char** names, NameKind kind,
               std::vector<std::string>& paths, std::vector<SccLong>* positions = nullptr);

// The files of a command that changes files. False when the command is over before it ran,
// with its answer: a scratch file of the host gets the scratch action alone (SCC_OK), a bad
// name is refused (SCC_E_NONSPECIFICERROR), and a request of no files does nothing (SCC_OK).
bool TakeFiles(CCVSContext& context, SccLong count, const char** names,
               const std::function<void(const std::string&)>& scratchAction,
               std::vector<std::string>& files, SCCRTN& answer,
               std::vector<SccLong>* positions = nullptr);

// Sends a message to the output pane as an error.
void Refuse(CCVSContext& context, const std::string& text);

// Whether the host's first name is one of its scratch files: "~sak" in its file name, and not
// a file CVS knows. The commands then act on that file alone and run no cvs command.
bool IsHostScratchFile(SccLong count, const char** names);

// Copies of edited files, taken before a command that may overwrite them with the
// repository's content (undo check-out: cvs unedit reverts a file without a backup when it is
// told to). After the command a copy whose content still exists beside it (the working file,
// a ".#NAME.REVISION" backup cvs made, an unversioned file set aside) is dropped; the others stay
// as "NAME.~edits" (".~edits2", ...), a name no other operation touches, and the pane says
// where.
class CKeptEdits {
public:
    // Keeps a copy of each file that is there and no longer what CVS last wrote to it. False,
    // with the reason in the pane and no copy left, when one cannot be made: the command must
    // not run then.
    bool Keep(CCVSContext& context, const std::vector<std::string>& files);
    void Settle(CCVSContext& context);

private:
    struct Kept {
        std::string file, copy;
    };
    std::vector<Kept> kept_;
};
