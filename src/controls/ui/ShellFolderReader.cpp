#include "controls/ui/SongNameReader.h"

#include <QElapsedTimer>
#include <QThread>

#include "app/QtPaths.h"
#include "controls/ui/ShellListTexts.h"
#include "midi/SongName.h"

namespace vantrel {

namespace {
// A batch goes out when it is this old or this large, whichever comes first: soon enough for
// the names to appear while the user looks, few enough signals to keep the window idle.
constexpr qint64 kBatchMilliseconds = 40;
constexpr int kBatchSize = 512;
}  // namespace

SongNameReader::SongNameReader(QObject* parent)
    : QObject(parent), thread_(new QThread(this)), worker_(new QObject) {
    worker_->moveToThread(thread_);
    connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_->setObjectName(QStringLiteral("song names"));
    thread_->start(QThread::LowPriority);
}

SongNameReader::~SongNameReader() {
    Cancel();
    thread_->quit();
    thread_->wait();
}

quint64 SongNameReader::Start(QList<int> rows, QStringList paths) {
    const quint64 request = ++lastIssued_;
    request_.store(request);
    QMetaObject::invokeMethod(
        worker_,
        [this, request, rows = std::move(rows), paths = std::move(paths)] {
            Read(request, rows, paths);
        },
        Qt::QueuedConnection);
    return request;
}

void SongNameReader::Cancel() {
    request_.store(0);
}

// Runs on the reader's thread.
void SongNameReader::Read(quint64 request, const QList<int>& rows, const QStringList& paths) {
    QList<int> batchRows;
    QStringList batchNames;
    QElapsedTimer sinceBatch;
    sinceBatch.start();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (request_.load() != request) {
            return;
        }
        if (const auto name = ReadSongName(ToFsPath(paths[i]))) {
            batchRows.push_back(rows[i]);
            batchNames.push_back(DecodeMidiText(*name));
        }
        if (batchRows.size() >= kBatchSize || sinceBatch.elapsed() >= kBatchMilliseconds) {
            emit NamesRead(request, batchRows, batchNames);
            batchRows.clear();
            batchNames.clear();
            sinceBatch.restart();
        }
    }
    if (!batchRows.isEmpty()) {
        emit NamesRead(request, batchRows, batchNames);
    }
    emit Finished(request);
}

}  // namespace vantrel
