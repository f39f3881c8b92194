// LoadRound: finds the round's file, checks all of it, and only then builds the stage.
#include "display/fmain.h"
#include "platform/backend.h"
#include "platform/file_read.h"
#include "platform/trace.h"
#include "stage/stage.h"

#include <filesystem>

namespace {

const char* const kMissingRoundText = "ラウンドデータがありません";

std::string RoundFileName(Long n) {
    return "rnd_dat/R" + std::to_string(n) + ".dat.rnd";
}

void ReportLoad(Long n, bool ok, const std::string& error = "") {
    platform::TraceEvent event("load");
    event.add("round", std::int64_t(n)).add("ok", ok);
    if (!ok) event.add("error", error);
}

// A file that is there but cannot be used: one message naming it and the first fault.
void RejectRoundFile(Long n, const std::string& fault) {
    const std::string text = "ラウンドデータ " + RoundFileName(n) + " を読み込めません。\n" + fault;
    ReportLoad(n, false, text);
    platform::MsgBox(text, platform::vbOKOnly);
}

enum class ReadOutcome { Read, Missing, Failed };

// The whole file, read once and closed again; sizes past the reader's limit are not read. Any
// failure, an I/O error included, is a fault to report.
ReadOutcome ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes,
                          std::string& fault) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxRoundFileBytes) {
        fault = "ファイルが大きすぎます（" + std::to_string(size) + " バイト）";
        return ReadOutcome::Failed;
    }
    switch (platform::ReadFileBytes(path, kMaxRoundFileBytes, bytes)) {
    case platform::FileRead::Read:
        return ReadOutcome::Read; // one byte past the limit is the reader's to refuse
    case platform::FileRead::Missing:
        return ReadOutcome::Missing;
    case platform::FileRead::NotAFile:
        fault = "ファイルではありません";
        break;
    case platform::FileRead::NoAccess:
        fault = "ファイルを開けません（読み取りの許可がありません）";
        break;
    case platform::FileRead::Failed:
        fault = "ファイルの読み取りに失敗しました";
        break;
    }
    return ReadOutcome::Failed;
}

} // namespace

std::string RoundFilePath(Long n) {
    return AppDir + RoundFileName(n);
}

void LoadRound(const Long& n) {
    EnemyCount = 0;
    RescueCount = 0;

    std::vector<std::uint8_t> bytes;
    std::string fault;
    switch (ReadWholeFile(RoundFilePath(n), bytes, fault)) {
    case ReadOutcome::Missing:
        ReportLoad(n, false, kMissingRoundText);
        platform::MsgBox(kMissingRoundText, platform::vbOKOnly);
        return;
    case ReadOutcome::Failed:
        return RejectRoundFile(n, fault);
    case ReadOutcome::Read:
        break;
    }
    // Round files pass between players: nothing changes unless the whole file is sound.
    RoundFileContents contents;
    if (!ReadRoundFile(bytes, contents, fault)) return RejectRoundFile(n, fault);

    BuildStage(contents);
    fMain().lRound.setCaption(std::to_string(n));
    ReportLoad(n, true);
}
