#include "core/data/Autosave.h"

#include "core/base/Messages.h"
#include "core/base/SafeFile.h"
#include "core/base/Strings.h"
#include "core/data/UserDataWriter.h"

namespace brix {

Autosaver::Autosaver(const UserRecords& records, std::string path, bool createFolder,
                     Messages& messages, int delayMs, QObject* parent)
    : QObject(parent),
      WriteFile(WriteFileSafely),
      records_(records),
      path_(std::move(path)),
      createFolder_(createFolder),
      messages_(messages) {
    timer_.setSingleShot(true);
    timer_.setInterval(delayMs);
    connect(&timer_, &QTimer::timeout, this, &Autosaver::StartWrite);
}

Autosaver::~Autosaver() {
    Join();
}

void Autosaver::Join() {
    if (worker_.joinable()) worker_.join();
}

void Autosaver::Schedule() {
    dirty_ = true;
    // The timer is not restarted by later changes, so a long burst still saves every delay.
    if (!writing_ && !timer_.isActive()) timer_.start();
}

void Autosaver::StartWrite() {
    if (writing_ || !dirty_) return;
    dirty_ = false;
    writing_ = true;
    const int generation = ++generation_;
    Join();
    // The only work on this thread: a copy of the records as they are now.
    UserRecords snapshot = records_;
    worker_ = std::thread([this, snapshot = std::move(snapshot), path = path_,
                           createFolder = createFolder_, write = WriteFile, generation] {
        const bool ok = write(path, BuildUserDataText(snapshot), createFolder);
        QMetaObject::invokeMethod(
            this, [this, ok, generation] { Finished(generation, ok); }, Qt::QueuedConnection);
    });
}

void Autosaver::Finished(int generation, bool ok) {
    // SaveNow or Finish already took this write over.
    if (!writing_ || generation != generation_) return;
    Join();
    writing_ = false;
    Report(ok);
    // A change made while the write ran is written next; a failed write alone is not retried
    // until a new change (or the exit) comes.
    if (dirty_ && !timer_.isActive()) timer_.start();
}

void Autosaver::Report(bool ok) {
    if (ok) {
        ++writesDone_;
        failureShown_ = false;
        return;
    }
    if (failureShown_) return;
    failureShown_ = true;
    messages_.Show(FormatText(LoadString(StringId::AutosaveFailed), {path_}), MessageIcon::Warning);
}

void Autosaver::Finish() {
    timer_.stop();
    Join();
    writing_ = false;
    dirty_ = false;
}

bool Autosaver::SaveNow() {
    Finish();
    const bool ok = WriteFile(path_, BuildUserDataText(records_), createFolder_);
    Report(ok);
    return ok;
}

SessionAutosave::SessionAutosave(Session& session, Messages& messages, int delayMs)
    : saver_(session.GetUser(), session.GetPrefs().Paths.UserDirectory + UserDataFileName,
             session.GetPrefs().Paths.UserDirectoryIsPerUser, messages, delayMs),
      changes_(session, [this](unsigned reasons) {
          if (reasons & Change::SaveRequested)
              saver_.SaveNow();
          else if (reasons & Change::Records)
              saver_.Schedule();
      }) {}

}  // namespace brix
