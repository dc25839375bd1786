#pragma once
// How a complete new file takes its target's place: which call comes next, chosen from how the
// last one ended, and which Win32 function it is made with. Plain C++ over the Win32 numbers, so
// that the choice is tested natively; files_win.cpp makes the calls as they are described here.
#include <cstdint>

namespace plumbo {

// The Win32 error numbers the choice turns on, as winerror.h has them.
namespace win32_error {
inline constexpr uint32_t kFileNotFound = 2;
inline constexpr uint32_t kAccessDenied = 5;
inline constexpr uint32_t kSharingViolation = 32;
inline constexpr uint32_t kLockViolation = 33;
inline constexpr uint32_t kFileExists = 80;
inline constexpr uint32_t kAlreadyExists = 183;
inline constexpr uint32_t kUnableToRemoveReplaced = 1175;
inline constexpr uint32_t kUnableToMoveReplacement = 1176;
inline constexpr uint32_t kUnableToMoveReplacement2 = 1177;
}  // namespace win32_error

enum class ReplaceCall {
    Replace,  // the first: the target renamed to the previous name, the new file into its place
    Move,     // the new file where there is none
    PutBack,  // the file there before back from the previous name to its own
    Done,     // the target holds the new contents; the previous name goes
    Fail,     // given up: the new file goes and the target stays as it was, or when nothing is
              // left at the target, both stay beside it under their own names
};

// The Win32 call that makes a ReplaceCall, over the three names of a save.
enum class SaveName { Target, Temporary, Previous };
enum class FileFunction { ReplaceFileW, MoveFileExW };
struct FileCall {
    FileFunction function;
    SaveName from, to;  // ReplaceFileW: from the replacement, to the file replaced
    SaveName backup;    // ReplaceFileW only: where the file replaced goes
    uint32_t flags;     // REPLACEFILE_*, MOVEFILE_*
};
inline constexpr uint32_t kReplaceFileIgnoreMergeErrors = 0x2;
inline constexpr uint32_t kMoveFileWriteThrough = 0x8;

// Replace, Move or PutBack as a call.
FileCall CallFor(ReplaceCall call);

struct ReplaceStep {
    ReplaceCall call;
    bool afterPause;  // another program holds a file: wait a moment first
};

// The step after `last` ended with error (0: it succeeded). timeLeft: whether another pause
// still fits in the time a held file is waited for.
ReplaceStep NextReplaceStep(ReplaceCall last, uint32_t error, bool timeLeft);

}  // namespace plumbo
