#include "platform/replace_steps.h"

namespace plumbo {

namespace {

// A virus scanner, an indexer or a previewer reads a file for a moment after each write.
// Windows refuses to rename a file open without FILE_SHARE_DELETE, Wine one open at all; either
// may name it a sharing violation or a denied access. ReplaceFileW, given a previous name, leaves
// both files where they were when it cannot take the old one away or put the new one in.
bool Held(uint32_t error) {
    using namespace win32_error;
    return error == kSharingViolation || error == kAccessDenied || error == kLockViolation ||
           error == kUnableToRemoveReplaced || error == kUnableToMoveReplacement;
}

}  // namespace

FileCall CallFor(ReplaceCall call) {
    using enum SaveName;
    switch (call) {
    case ReplaceCall::Replace:
        // On Windows the new file takes over the old one's security, attributes and streams, and
        // a symbolic link is followed: the file it points at is replaced, the link stays. A file
        // we may write but not re-secure is still saved, as a plain move would save it.
        return {FileFunction::ReplaceFileW, Temporary, Target, Previous, kReplaceFileIgnoreMergeErrors};
    case ReplaceCall::PutBack:
        return {FileFunction::MoveFileExW, Previous, Target, Previous, kMoveFileWriteThrough};
    default:
        // Never over a file: one that appeared meanwhile is replaced as any other.
        return {FileFunction::MoveFileExW, Temporary, Target, Previous, kMoveFileWriteThrough};
    }
}

ReplaceStep NextReplaceStep(ReplaceCall last, uint32_t error, bool timeLeft) {
    using namespace win32_error;
    const ReplaceStep again{last, true}, replaceLater{ReplaceCall::Replace, true}, fail{ReplaceCall::Fail, false};
    if (last == ReplaceCall::PutBack) {
        if (!error) return timeLeft ? replaceLater : fail;
        // The file there before is away under its other name: it is brought back once it is let
        // go of, and when it cannot be, the new file is moved into the empty place the user named.
        return Held(error) && timeLeft ? again : ReplaceStep{ReplaceCall::Move, false};
    }
    if (error == 0) return {ReplaceCall::Done, false};
    if (last == ReplaceCall::Replace && error == kFileNotFound) return {ReplaceCall::Move, false};
    // The new file is still under its own name; the old one has to come back before anything else.
    if (last == ReplaceCall::Replace && error == kUnableToMoveReplacement2) return {ReplaceCall::PutBack, false};
    // Another program made the target meanwhile: it is replaced, once that program had a moment.
    if (last == ReplaceCall::Move && (error == kFileExists || error == kAlreadyExists))
        return timeLeft ? replaceLater : fail;
    return Held(error) && timeLeft ? again : fail;
}

}  // namespace plumbo
