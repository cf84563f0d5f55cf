#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <atomic>

class QThread;

namespace vantrel {

// Reads the song names of a listed folder's MIDI files on a thread of its own, so a folder of
// thousands of files never stalls the window. Results come back in batches through NamesRead,
// which is queued to the thread that owns the reader. A new Start cancels the previous request:
// the worker stops at its next file and nothing more of the old request is delivered.
class SongNameReader : public QObject {
    Q_OBJECT
  public:
    explicit SongNameReader(QObject* parent = nullptr);
    ~SongNameReader() override;

    // rows[i] is the list row of paths[i]. Answers the request's number.
    quint64 Start(QList<int> rows, QStringList paths);
    void Cancel();
    quint64 CurrentRequest() const { return request_.load(); }

  signals:
    // Rows whose file reads cleanly, with their names; rows that fail are not reported.
    void NamesRead(quint64 request, const QList<int>& rows, const QStringList& names);
    void Finished(quint64 request);

  private:
    void Read(quint64 request, const QList<int>& rows, const QStringList& paths);

    QThread* thread_;
    QObject* worker_;  // lives on thread_; requests run there one after another
    std::atomic<quint64> request_{0};
    quint64 lastIssued_ = 0;
};

}  // namespace vantrel
