#pragma once

#include <QObject>
#include <QTimer>

#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "core/data/Session.h"
#include "core/data/UserRecords.h"

namespace brix {

class Messages;

// Writes the user data file shortly after the player's records change, off the user-interface
// thread, so that a crash or a kill loses at most the last moment's change. A burst of changes
// is one write. The user-interface thread only copies the records; a worker builds the file's
// bytes and writes them through the same safe write as the exit save. There is never more than
// one write at a time, and the newest records always win: a change made while a write runs is
// written after it.
//
// A failed write shows one message naming the file (again only after a write has succeeded in
// between), keeps the records in memory and is tried again at the next change and at exit.
class Autosaver : public QObject {
    Q_OBJECT
public:
    // `path` is the user data file; `createFolder` makes its missing folder on the first write
    // (the per-user folder). `delayMs` is the debounce after the first change of a burst.
    Autosaver(const UserRecords& records, std::string path, bool createFolder, Messages& messages,
              int delayMs = 1000, QObject* parent = nullptr);
    ~Autosaver() override;

    // After a change to the records: a write follows within the delay.
    void Schedule();
    // Waits for a running write, then writes the records now, on this thread (the desktop
    // session ends, a close is deferred). False when the write failed (the message is shown).
    bool SaveNow();
    // Waits for a running write and drops a pending one (the exit save follows and writes the
    // final state itself).
    void Finish();

    // A write is due or running.
    // What the debounce timer does when it runs out: copies the records and hands them to the
    // worker, unless a write runs already. The only autosave work on the calling thread.
    void StartWrite();

    bool Pending() const { return timer_.isActive() || dirty_ || writing_; }
    int WritesDone() const { return writesDone_; }

    // Called on the worker thread with the bytes and the path; true when written. Tests replace
    // it to hold a write open or fail it; the default is the safe write.
    std::function<bool(const std::string& path, const std::string& bytes, bool createFolder)>
        WriteFile;

private:
    void Finished(int generation, bool ok);
    void Report(bool ok);
    void Join();

    const UserRecords& records_;
    std::string path_;
    bool createFolder_;
    Messages& messages_;
    QTimer timer_;
    std::thread worker_;
    bool writing_ = false;
    bool dirty_ = false;
    bool failureShown_ = false;
    int writesDone_ = 0;
    int generation_ = 0;  // of the write running or last started
};

// The autosave of a session: the session's user data file, written after every change of the
// player's records, and at once on Change::SaveRequested, for as long as this lives. The program
// makes one after start-up.
class SessionAutosave {
public:
    SessionAutosave(Session& session, Messages& messages, int delayMs = 1000);
    Autosaver& Saver() { return saver_; }

private:
    Autosaver saver_;
    SessionSubscription changes_;
};

}  // namespace brix
