// Lists a generated folder of MIDI files in the file browser, as a user choosing that folder in
// the tree would, and measures what the user feels: how long the window's thread is busy at a
// stretch (a 2 ms timer that notes every gap between its ticks) and when the last song name
// appears.
//
//   QT_QPA_PLATFORM=offscreen bench_gui_listing [files=10000] [rounds=3]

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <string>

#include "ScriptedPrompt.h"
#include "common/ScopedTempDir.h"
#include "controls/ui/CCJShellList.h"
#include "controls/ui/CCJShellTree.h"
#include "controls/ui/ShellListModel.h"
#include "midi/SmfWriter.h"

namespace {

void WriteFolder(const std::filesystem::path& folder, int files) {
    for (int i = 0; i < files; ++i) {
        vantrel::SmfWriter writer(1, 192);
        writer.AddTrack()
            .Text(0, 0x03, "Groove " + std::to_string(i))
            .TimeSignature(0, 4, 2)
            .Tempo(0, 500000)
            .EndOfTrack(768);
        auto& bass = writer.AddTrack();
        for (std::uint32_t beat = 0; beat < 16; ++beat) {
            bass.Note(beat * 192, 12, static_cast<std::uint8_t>(36 + beat % 12), 100, 150);
        }
        bass.EndOfTrack(16 * 192);
        writer.Save(folder / ("pattern" + std::to_string(i) + ".mid"));
    }
}

struct Round {
    qint64 rowsMs = 0;
    qint64 longestStallMs = 0;
    qint64 allNamesMs = 0;
    int named = 0;
};

Round ListOnce(vantrel::CCJShellTree& tree, vantrel::CCJShellList& list, const QString& folder) {
    Round round;
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setInterval(2);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        round.longestStallMs = std::max(round.longestStallMs, sinceTick.restart());
    });
    QEventLoop loop;
    auto listed = QObject::connect(&list, &vantrel::CCJShellList::Listed,
                                   [&] { round.rowsMs = clock.elapsed(); });
    auto done = QObject::connect(&list, &vantrel::CCJShellList::SongNamesComplete, [&] {
        round.allNamesMs = clock.elapsed();
        loop.quit();
    });
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);

    ticker.start();
    sinceTick.start();
    clock.start();
    // The click that chooses the folder in the tree arrives through the event loop, as it would.
    QTimer::singleShot(0, &list, [&] { tree.SelectFolder(folder); });
    loop.exec();
    QObject::disconnect(listed);
    QObject::disconnect(done);
    const int column = list.Model().ColumnIndex(vantrel::ShellListModel::Column::SongName);
    for (int row = 0; row < list.Model().rowCount(); ++row) {
        round.named += list.Model().index(row, column).data().toString().isEmpty() ? 0 : 1;
    }
    return round;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int files = argc > 1 ? std::stoi(argv[1]) : 10000;
    const int rounds = argc > 2 ? std::stoi(argv[2]) : 3;

    vantrel::ScopedTempDir folder;
    QElapsedTimer generate;
    generate.start();
    WriteFolder(folder.Path(), files);
    std::printf("generated %d MIDI files in %lld ms\n", files,
                static_cast<long long>(generate.elapsed()));

    vantrel::test::ScriptedPrompt prompt;  // answers No to anything, which nothing asks
    vantrel::CCJShellTree tree(prompt);
    vantrel::CCJShellList list(prompt);
    list.SetTree(&tree);
    tree.resize(260, 270);
    list.resize(530, 270);
    tree.show();
    list.show();
    const QString path = QString::fromStdString(folder.Path().string());
    for (int i = 0; i < rounds; ++i) {
        const Round round = ListOnce(tree, list, path);
        std::printf(
            "round %d: rows shown after %lld ms, longest stall of the window thread %lld ms, "
            "all %d song names after %lld ms\n",
            i + 1, static_cast<long long>(round.rowsMs),
            static_cast<long long>(round.longestStallMs), round.named,
            static_cast<long long>(round.allNamesMs));
    }
    return 0;
}
