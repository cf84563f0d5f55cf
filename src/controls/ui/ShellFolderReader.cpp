#include "controls/ui/ShellFolderReader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include "controls/ui/ShellListTexts.h"
#include "midi/SongName.h"
#include "widgets/QtPaths.h"

namespace vantrel {

namespace {
// A batch goes out when it is this old or this large, whichever comes first: soon enough for
// the names to appear while the user looks, few enough signals to keep the window idle.
constexpr qint64 kBatchMilliseconds = 40;
constexpr int kBatchSize = 512;
}  // namespace

ShellFolderReader::ShellFolderReader(QObject* parent)
    : QObject(parent), thread_(new QThread(this)), worker_(new QObject) {
    worker_->moveToThread(thread_);
    connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_->setObjectName(QStringLiteral("folder reader"));
    thread_->start(QThread::LowPriority);
}

ShellFolderReader::~ShellFolderReader() {
    Cancel();
    thread_->quit();
    thread_->wait();
}

quint64 ShellFolderReader::Start(const QString& folder, const ShellListingOptions& options,
                                 bool withSongNames) {
    const quint64 request = ++lastIssued_;
    request_.store(request);
    QMetaObject::invokeMethod(
        worker_,
        [this, request, folder, options, withSongNames] {
            Read(request, folder, options, withSongNames);
        },
        Qt::QueuedConnection);
    return request;
}

void ShellFolderReader::Cancel() {
    request_.store(0);
}

// Runs on the reader's thread; it touches nothing of the window, only emits.
void ShellFolderReader::Read(quint64 request, const QString& folder,
                             const ShellListingOptions& options, bool withSongNames) {
    if (!Current(request)) {
        return;
    }
    const std::vector<ShellRow> rows = ListShellFolder(folder, options);
    Q_EMIT Listed(request, rows);
    if (!withSongNames) {
        Q_EMIT Finished(request);
        return;
    }
    const QDir dir(folder);
    QList<int> batchRows;
    QStringList batchNames;
    QElapsedTimer sinceBatch;
    sinceBatch.start();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (!Current(request)) {
            return;
        }
        if (rows[row].isFolder) {
            continue;
        }
        if (const auto name = ReadSongName(ToFsPath(dir.filePath(rows[row].name)))) {
            batchRows.push_back(static_cast<int>(row));
            batchNames.push_back(DecodeMidiText(*name));
        }
        if (batchRows.size() >= kBatchSize ||
            (!batchRows.isEmpty() && sinceBatch.elapsed() >= kBatchMilliseconds)) {
            Q_EMIT NamesRead(request, batchRows, batchNames);
            batchRows.clear();
            batchNames.clear();
            sinceBatch.restart();
        }
    }
    if (!batchRows.isEmpty()) {
        Q_EMIT NamesRead(request, batchRows, batchNames);
    }
    Q_EMIT Finished(request);
}

}  // namespace vantrel
