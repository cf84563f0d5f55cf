#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <atomic>
#include <vector>

#include "controls/ui/ShellFolderListing.h"

class QThread;

namespace vantrel {

// Reads a folder for the file list on a thread of its own: first the rows, then the song names
// of its MIDI files, so a folder of thousands of files never stalls the window. Results come
// back through signals queued to the thread that owns the reader. A new Start cancels the
// previous request: the worker stops at its next file and nothing more of the old request is
// delivered.
class ShellFolderReader : public QObject {
    Q_OBJECT
  public:
    explicit ShellFolderReader(QObject* parent = nullptr);
    ~ShellFolderReader() override;

    // Answers the request's number; withSongNames false stops after the rows.
    quint64 Start(const QString& folder, const ShellListingOptions& options, bool withSongNames);
    void Cancel();
    quint64 CurrentRequest() const { return request_.load(); }

  Q_SIGNALS:
    void Listed(quint64 request, const std::vector<vantrel::ShellRow>& rows);
    // Rows whose file reads cleanly, with their names; rows that fail are not reported.
    void NamesRead(quint64 request, const QList<int>& rows, const QStringList& names);
    void Finished(quint64 request);

  private:
    void Read(quint64 request, const QString& folder, const ShellListingOptions& options,
              bool withSongNames);
    bool Current(quint64 request) const { return request_.load() == request; }

    QThread* thread_;
    QObject* worker_;  // lives on thread_; requests run there one after another
    std::atomic<quint64> request_{0};
    quint64 lastIssued_ = 0;
};

}  // namespace vantrel
