#include "platform/files_win.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "core/file_names.h"
#include "platform/replace_steps.h"
#include "platform/ui_task_win.h"

namespace plumbo {

namespace {

static_assert(win32_error::kFileNotFound == ERROR_FILE_NOT_FOUND && win32_error::kAccessDenied == ERROR_ACCESS_DENIED &&
              win32_error::kSharingViolation == ERROR_SHARING_VIOLATION &&
              win32_error::kLockViolation == ERROR_LOCK_VIOLATION && win32_error::kFileExists == ERROR_FILE_EXISTS &&
              win32_error::kAlreadyExists == ERROR_ALREADY_EXISTS &&
              win32_error::kUnableToRemoveReplaced == ERROR_UNABLE_TO_REMOVE_REPLACED &&
              win32_error::kUnableToMoveReplacement == ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
              win32_error::kUnableToMoveReplacement2 == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
static_assert(kReplaceFileIgnoreMergeErrors == REPLACEFILE_IGNORE_MERGE_ERRORS &&
              kMoveFileWriteThrough == MOVEFILE_WRITE_THROUGH);

// A held file is tried again every pause for about a second; held for longer, the save fails.
constexpr UINT kPauseMs = 50;
constexpr ULONGLONG kHeldWaitMs = 1000;

DWORD LastError() {
    const DWORD error = GetLastError();
    return error ? error : ERROR_GEN_FAILURE;
}

// The path in full, in the form the file calls take beyond MAX_PATH; empty when it has none.
std::wstring CallPath(const std::wstring& path) {
    DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return {};
    std::wstring full(n, L'\0');
    full.resize(GetFullPathNameW(path.c_str(), n, full.data(), nullptr));
    return ExtendedLengthPath(full);
}

bool WriteAll(HANDLE file, std::span<const uint8_t> bytes) {
    size_t at = 0;
    while (at < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - at, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + at, chunk, &written, nullptr) || written == 0) return false;
        at += written;
    }
    return true;
}

// The temporary file made under a name no file has, its previous name free as well.
HANDLE CreateBeside(const std::wstring& target, SideNames& names) {
    static uint32_t next = GetTickCount();
    for (int tries = 0; tries < 100; ++tries) {
        names = SideNamesFor(target, next++);
        if (GetFileAttributesW(names.previous.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
        HANDLE file = CreateFileW(names.temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

// A complete new file on its way into its target's place. It owns the temporary file until the
// file has arrived: a save the program ends in the middle of leaves nothing behind.
class PendingReplace : public std::enable_shared_from_this<PendingReplace> {
public:
    PendingReplace(std::wstring target, SideNames names, std::function<void(DWORD)> done)
        : target_(std::move(target)), names_(std::move(names)), done_(std::move(done)),
          deadline_(GetTickCount64() + kHeldWaitMs) {}
    ~PendingReplace() {
        if (!names_.temporary.empty()) DeleteFileW(names_.temporary.c_str());
    }
    PendingReplace(const PendingReplace&) = delete;
    PendingReplace& operator=(const PendingReplace&) = delete;

    // Makes call and those that follow it, until one has to wait or the replace is over.
    void Run(ReplaceCall call) {
        for (;;) {
            const DWORD error = Make(call);
            if (error) error_ = error;
            const ReplaceStep next = NextReplaceStep(call, error, GetTickCount64() + kPauseMs < deadline_);
            if (next.call == ReplaceCall::Done || next.call == ReplaceCall::Fail) return Finish(next.call);
            if (next.afterPause) {
                // From the main loop: the program's windows answer meanwhile.
                RunLater(kPauseMs, [self = shared_from_this(), call = next.call] { self->Run(call); });
                return;
            }
            call = next.call;
        }
    }

private:
    DWORD Make(ReplaceCall call) {
        const FileCall c = CallFor(call);
        auto name = [&](SaveName n) {
            return (n == SaveName::Target ? target_ : n == SaveName::Temporary ? names_.temporary : names_.previous).c_str();
        };
        // Wine carries none of the old file's security, attributes or streams over. Without a
        // previous name its ReplaceFileW moves the old file through a temporary file of its own,
        // named in a MAX_PATH buffer, and leaves that file behind when the move fails; with one
        // it fails as cleanly as Windows does.
        const BOOL ok = c.function == FileFunction::ReplaceFileW
                            ? ReplaceFileW(name(c.to), name(c.from), name(c.backup), c.flags, nullptr, nullptr)
                            : MoveFileExW(name(c.from), name(c.to), c.flags);
        return ok ? 0 : LastError();
    }

    void Finish(ReplaceCall end) {
        if (end == ReplaceCall::Done) {
            DeleteFileW(names_.previous.c_str());
            error_ = 0;
        } else if (GetFileAttributesW(target_.c_str()) != INVALID_FILE_ATTRIBUTES) {
            DeleteFileW(names_.temporary.c_str());
        }
        // Otherwise nothing is at the user's name: both files stay beside it, the one there before
        // under its previous name and the new one under its temporary name, rather than one lost.
        names_.temporary.clear();
        std::exchange(done_, nullptr)(error_);
    }

    std::wstring target_;
    SideNames names_;
    std::function<void(DWORD)> done_;
    ULONGLONG deadline_;
    DWORD error_ = 0;
};

}  // namespace

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(CallPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void ReplaceFileContents(const std::wstring& path, std::span<const uint8_t> bytes,
                         std::function<void(DWORD error)> done) {
    const std::wstring target = CallPath(path);
    if (target.empty()) return done(LastError());
    // Windows refuses to replace a read-only file; say so before writing anything, whatever the
    // file system underneath would allow.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return done(ERROR_ACCESS_DENIED);

    SideNames names;
    HANDLE file = CreateBeside(target, names);
    if (file == INVALID_HANDLE_VALUE) return done(LastError());
    DWORD error = WriteAll(file, bytes) && FlushFileBuffers(file) ? 0 : LastError();
    if (!CloseHandle(file) && !error) error = LastError();
    if (error) {
        DeleteFileW(names.temporary.c_str());
        return done(error);
    }
    std::make_shared<PendingReplace>(target, std::move(names), std::move(done))->Run(ReplaceCall::Replace);
}

}  // namespace plumbo
