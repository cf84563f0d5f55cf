#pragma once

// Shared pieces of the window tests: a private repository and MIDI files written from bytes.

#include <QApplication>
#include <QContextMenuEvent>
#include <QListWidget>
#include <QStringList>
#include <filesystem>
#include <string>

#include "TestFiles.h"
#include "common/ScopedTempDir.h"
#include "midi/SmfWriter.h"
#include "repository/CRepository.h"
#include "widgets/FileTrash.h"

namespace vantrel::test {

// A repository in a private folder for the life of the object; the program's repository root
// points there meanwhile.
struct TempRepository {
    TempRepository() {
        CRepository::SetRoot(folder.Path() / "Repository");
        CRepository::CreateFolders();
    }
    std::filesystem::path Sub(SubRepository sub) const { return CRepository::Folder(sub); }

    ScopedTempDir folder;
};

// The trash deletes go to, for the life of the object. With a trash, items move into a private
// folder (under a number, so equal names do not meet) and their names are kept in taken; without
// one, nothing is taken, as on a system that has no trash.
class TestTrash final : public FileTrash {
  public:
    enum Kind { Present, Absent };
    explicit TestTrash(Kind kind) : kind_(kind) { UseTrash(this); }
    ~TestTrash() override { UseTrash(nullptr); }
    TestTrash(const TestTrash&) = delete;
    TestTrash& operator=(const TestTrash&) = delete;

    bool MoveToTrash(const std::filesystem::path& path) override {
        if (kind_ == Absent) {
            return false;
        }
        std::error_code error;
        std::filesystem::rename(path, bin.Path() / std::to_string(taken.size()), error);
        if (error) {
            return false;
        }
        taken.push_back(path.filename().string());
        return true;
    }
    // Where the n-th item taken now is.
    std::filesystem::path Kept(std::size_t n) const { return bin.Path() / std::to_string(n); }

    std::vector<std::string> taken;

  private:
    Kind kind_;
    ScopedTempDir bin;
};

// The context-menu key as the platform passes it on: a context-menu event of keyboard origin
// for the widget with the focus.
inline void PressMenuKey(QWidget& widget) {
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(0, 0),
                            widget.mapToGlobal(QPoint()));
    QApplication::sendEvent(&widget, &event);
}

// A pattern the keyboard accepts: 192 ticks per quarter, time signature and tempo in track 0,
// the bass on channel 12; the track name becomes the file's song name.
inline std::vector<std::uint8_t> AcceptedPattern(const std::string& songName = "Pattern") {
    SmfWriter writer(1, 192);
    writer.AddTrack()
        .Text(0, 0x03, songName)
        .TimeSignature(0, 4, 2)
        .Tempo(0, 500000)
        .EndOfTrack(768);
    writer.AddTrack().Note(0, 12, 40, 100, 180).Note(384, 12, 43, 100, 180).EndOfTrack(768);
    return writer.Encode();
}

// A well-formed MIDI file the keyboard refuses: a melody on channel 1.
inline std::vector<std::uint8_t> RefusedPattern() {
    SmfWriter writer(1, 192);
    writer.AddTrack().TimeSignature(0, 4, 2).Tempo(0, 500000).EndOfTrack(768);
    writer.AddTrack().Note(0, 1, 60, 100, 180).EndOfTrack(768);
    return writer.Encode();
}

inline QStringList ListTexts(const QListWidget& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) {
        texts.push_back(list.item(row)->text());
    }
    return texts;
}

}  // namespace vantrel::test
