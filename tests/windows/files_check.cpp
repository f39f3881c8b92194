// The Windows file calls (platform/windows/file_read_windows.cpp), run under Wine by
// files_test.sh: in a folder it makes, whose name has Japanese characters and spaces, every
// status of the reader, the size of a plain file, and a recording's way of writing, all through
// UTF-8 paths.
// Prints one line per failed check and "N passed, N failed" at the end; the exit status is the
// number of failures (at most 1 here, as a shell sees it).
#include "platform/file_read.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include <windows.h>

namespace {

int g_passed = 0, g_failed = 0;

void Check(bool ok, const std::string& what) {
    if (ok) {
        ++g_passed;
    } else {
        ++g_failed;
        std::printf("FAIL: %s\n", what.c_str());
    }
}

const char* Name(platform::DiskRead status) {
    switch (status) {
    case platform::DiskRead::Read: return "Read";
    case platform::DiskRead::Missing: return "Missing";
    case platform::DiskRead::NotAFile: return "NotAFile";
    case platform::DiskRead::NoAccess: return "NoAccess";
    case platform::DiskRead::Failed: return "Failed";
    }
    return "?";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: vexaro-files-check FOLDER (a folder that exists, in ASCII)\n");
        return 2;
    }
    // Made with the wide call itself: the narrow command line of a console program is no UTF-8.
    const std::wstring wideFolder = std::wstring(argv[1], argv[1] + std::strlen(argv[1])) +
                                    L"\\\u30B2\u30FC\u30E0 \u30D5\u30A9\u30EB\u30C0";
    if (!CreateDirectoryW(wideFolder.c_str(), nullptr)) {
        std::printf("cannot make the test folder in %s\n", argv[1]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "\\ゲーム フォルダ\\";
    const std::string file = folder + "記録 ファイル.rec";
    const std::string text = "vexaro recording\n\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0\n";

    // Written the way a recording and a trace are: bytes as given, no line ends turned into CR LF.
    std::FILE* out = platform::OpenForWriting(file, "wb");
    Check(out != nullptr, "OpenForWriting cannot make " + file);
    if (out) {
        Check(std::fwrite(text.data(), 1, text.size(), out) == text.size(), "short write");
        Check(std::fclose(out) == 0, "fclose failed");
    }
    Check(platform::OpenForWriting(folder + "無い フォルダ\\x.rec", "wb") == nullptr,
          "a file in a missing folder was opened for writing");

    // The statuses: (path, limit, status, bytes read).
    const struct {
        std::string path;
        std::size_t limit;
        platform::DiskRead status;
        std::size_t size;
    } cases[] = {
        {file, 1 << 20, platform::DiskRead::Read, text.size()},
        // One byte beyond the limit is read, so the caller can tell the file is longer.
        {file, 4, platform::DiskRead::Read, 5},
        {file, text.size(), platform::DiskRead::Read, text.size()},
        {folder + "無い.rec", 1 << 20, platform::DiskRead::Missing, 0},
        {folder + "無い フォルダ\\x.rec", 1 << 20, platform::DiskRead::Missing, 0},
        {"", 1 << 20, platform::DiskRead::Missing, 0},
        {std::string("\xFF\xFE bad UTF-8"), 1 << 20, platform::DiskRead::Missing, 0},
        {folder, 1 << 20, platform::DiskRead::NotAFile, 0},
        {folder.substr(0, folder.size() - 1), 1 << 20, platform::DiskRead::NotAFile, 0},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes{1, 2, 3};
        const platform::DiskRead status = platform::ReadFileBytes(c.path, c.limit, bytes);
        Check(status == c.status && bytes.size() == c.size,
              "reading " + c.path + " gave " + Name(status) + " and " +
                  std::to_string(bytes.size()) + " bytes, not " + Name(c.status) + " and " +
                  std::to_string(c.size));
    }
    std::string back;
    Check(platform::ReadFileBytes(file, 1 << 20, back) == platform::DiskRead::Read && back == text,
          "the text read back differs from the text written");

    // Sizes: a plain file has one, a folder and a missing file have none.
    const auto size = platform::PlainFileSize(file);
    Check(size && *size == text.size(), "PlainFileSize of " + file);
    Check(!platform::PlainFileSize(folder), "a folder has a plain file size");
    Check(!platform::PlainFileSize(folder + "無い.rec"), "a missing file has a size");

    std::printf("files: %d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}
