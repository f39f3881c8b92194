// LoadRound: finds the round's file, checks all of it, and only then builds the stage.
#include "display/fmain.h"
#include "platform/backend.h"
#include "platform/trace.h"
#include "stage/stage.h"

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

// Why a file that is there cannot be used, in the game's language.
std::string FaultOf(const platform::FileRead& read) {
    using Status = platform::FileRead::Status;
    switch (read.status) {
    case Status::NotAFile:
        return "ファイルではありません";
    case Status::TooLarge:
        return "ファイルが大きすぎます（" + std::to_string(read.size) + " バイト）";
    case Status::CannotOpen:
        return "ファイルを開けません（読み取りの許可がありません）";
    default:
        return "ファイルの読み取りに失敗しました";
    }
}

} // namespace

std::string RoundFilePath(Long n) {
    return AppDir + RoundFileName(n);
}

void LoadRound(const Long& n) {
    EnemyCount = 0;
    RescueCount = 0;

    // The whole file, read once and closed again; sizes past the reader's limit are not read.
    const platform::FileRead read = platform::ReadFile(RoundFilePath(n), kMaxRoundFileBytes);
    if (read.status == platform::FileRead::Status::Missing) {
        ReportLoad(n, false, kMissingRoundText);
        platform::MsgBox(kMissingRoundText, platform::vbOKOnly);
        return;
    }
    if (read.status != platform::FileRead::Status::Read) return RejectRoundFile(n, FaultOf(read));
    // Round files pass between players: nothing changes unless the whole file is sound.
    RoundFileContents contents;
    std::string fault;
    if (!ReadRoundFile(read.bytes, contents, fault)) return RejectRoundFile(n, fault);

    BuildStage(contents);
    fMain().lRound.setCaption(std::to_string(n));
    ReportLoad(n, true);
}
