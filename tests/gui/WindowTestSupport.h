#pragma once

// Shared pieces of the window tests: a private repository and MIDI files written from bytes.

#include <QListWidget>
#include <QStringList>
#include <filesystem>
#include <string>

#include "TestFiles.h"
#include "common/ScopedTempDir.h"
#include "midi/SmfWriter.h"
#include "repository/CRepository.h"

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
