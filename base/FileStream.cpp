#include "base/FileStream.h"

#include <atomic>
#include <memory>
#include <cstdio>

#include "base/Exceptions.h"
#include "base/FilePlatform.h"

namespace {

std::string SiblingTempName(const std::string& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, "~tv%lx_%x_%x.tmp", CurrentProcessNumber(), counter++, attempt);
    return FolderOf(target) + suffix;
}

}  // namespace

void SaveFileSafely(const std::string& fileName, const std::function<void(TStream&)>& write) {
    // A target that cannot be written at all (a missing folder, a read-only file) must report
    // the target's own name, as a direct create would.
    std::string tempName;
    std::unique_ptr<TFileStream> temp;
    for (unsigned attempt = 0; !temp; ++attempt) {
        tempName = SiblingTempName(fileName, attempt);
        if (FileExists(tempName)) continue;
        try {
            temp = std::make_unique<TFileStream>(tempName, TFileMode::Create);
        } catch (const EFCreateError&) {
            throw EFCreateError(Format(ErrorText::FCreate, ExpandFileName(fileName).c_str(),
                                       LastSystemErrorText().c_str()));
        }
    }
    try {
        write(*temp);
        temp->Close();
        temp.reset();
        if (!ReplaceFileWith(tempName, fileName)) {
            throw EFCreateError(Format(ErrorText::FCreate, ExpandFileName(fileName).c_str(),
                                       LastSystemErrorText().c_str()));
        }
    } catch (...) {
        temp.reset();
        DeleteFileIfExists(tempName);
        throw;
    }
}
