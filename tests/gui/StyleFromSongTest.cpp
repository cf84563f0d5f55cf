// "Make a style from a song…": opened from the file browser's menu, the proposal and the song's
// chords, ranges typed or dragged, refusals with their measure, hearing a part, and OK putting
// every part into the repository and the combine lists.

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

#include "ChordSongs.h"
#include "ScriptedPrompt.h"
#include "WindowTestSupport.h"
#include "app/CBottomView.h"
#include "app/CMainFrame.h"
#include "app/CTopView.h"
#include "combine/ui/CTopCombineView.h"
#include "controls/ui/CCJShellList.h"
#include "controls/ui/ShellListModel.h"
#include "repository/ui/CTopTabView.h"
#include "repository/ui/CTopTabViewPage.h"
#include "repository/ui/ChannelChoices.h"
#include "repository/ui/MeasureStrip.h"
#include "repository/ui/StyleFromSongDlg.h"
#include "repository/ui/SubRepositoryListBox.h"

namespace vantrel {

namespace fs = std::filesystem;

namespace {

constexpr int kMajor = 4;
constexpr int kMinor = 3;

// G G D D | Em C G G | D D Em C | G G D D
std::vector<std::uint8_t> SixteenMeasures() {
    return test::ChordSong({{7, kMajor},
                            {7, kMajor},
                            {2, kMajor},
                            {2, kMajor},
                            {4, kMinor},
                            {0, kMajor},
                            {7, kMajor},
                            {7, kMajor},
                            {2, kMajor},
                            {2, kMajor},
                            {4, kMinor},
                            {0, kMajor},
                            {7, kMajor},
                            {7, kMajor},
                            {2, kMajor},
                            {2, kMajor}})
        .Encode();
}

// Twelve measures of C with bass and chords; from measure 9 the song is in 3/4.
std::vector<std::uint8_t> MetreChange() {
    SmfWriter writer(1, 192);
    writer.AddTrack()
        .Tempo(0, 500000)
        .TimeSignature(0, 4, 2)
        .TimeSignature(8 * 768, 3, 2)
        .EndOfTrack(8 * 768 + 4 * 576);
    SmfTrack& notes = writer.AddTrack();
    for (std::uint32_t m = 0; m < 12; ++m) {
        const std::uint32_t at = m < 8 ? m * 768 : 8 * 768 + (m - 8) * 576;
        notes.Note(at, 2, 36, 100, 300).Note(at, 1, 60, 90, 500).Note(at, 1, 64, 90, 500);
    }
    notes.EndOfTrack(8 * 768 + 4 * 576);
    return writer.Encode();
}

// Plays nothing: remembers what it was asked to play.
class RecordingPlayer final : public PartPlayer {
  public:
    std::string Play(const std::vector<PlayItem>& parts, const std::string& chart) override {
        played = parts;
        charts.push_back(chart);
        existed = !parts.empty() && fs::exists(parts.front().file);
        return {};
    }
    void Stop() override {}
    bool Playing() const override { return false; }
    std::string Progress() const override { return {}; }

    std::vector<PlayItem> played;
    std::vector<std::string> charts;
    bool existed = false;
};

// The parts table's last row of a kind; -1 when there is none.
int LastRowOf(StyleFromSongDlg& dialog, SongPartKind kind) {
    int found = -1;
    for (int row = 0; row < dialog.Parts().rowCount(); ++row) {
        if (dialog.PartList()[static_cast<std::size_t>(row)].kind == kind)
            found = row;
    }
    return found;
}

}  // namespace

class StyleFromSongTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() {
        prompt_ = test::ScriptedPrompt();
        repository_ = std::make_unique<test::TempRepository>();
        source_ = std::make_unique<ScopedTempDir>();
    }
    void cleanup() {
        source_.reset();
        repository_.reset();
    }

    void TheBrowserOffersItAndOkPutsEveryPartIntoTheRepositoryAndTheCombineLists() {
        test::WriteBytes(Source() / "groove.mid", SixteenMeasures());
        CMainFrame frame(prompt_);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        CCJShellList& list = frame.Bottom().List();
        list.Fill(QString::fromStdString(Source().string()));
        QVERIFY(QTest::qWaitFor([&list] { return !list.IsListing(); }, 5000));
        QCOMPARE(list.Model().rowCount(), 1);

        QStringList proposal;
        QStringList strip;
        frame.SetStyleDialogRunner([&](StyleFromSongDlg& dialog) {
            for (const SongPart& part : dialog.PartList())
                proposal << QString::fromStdString(part.Title() + " " + std::to_string(part.from) +
                                                   "-" + std::to_string(part.to));
            for (int column = 0; column < dialog.Measures().columnCount(); ++column)
                strip << dialog.Measures().item(0, column)->text();
            if (!dialog.OkButton().isEnabled())
                return false;
            dialog.OkButton().click();
            return dialog.result() == QDialog::Accepted;
        });
        QStringList entries;
        list.SetMenuRunner([&](QMenu& menu, const QPoint&) {
            for (QAction* action : menu.actions()) {
                if (!action->text().isEmpty())
                    entries << action->text();
            }
            menu.actions().front()->trigger();
        });
        list.ShowMenu(list.visualRect(list.Model().index(0, 0)).center());

        QCOMPARE(entries, (QStringList{"Make a style from a song\u2026", "Delete", "Refresh"}));
        QCOMPARE(strip.size(), 16);
        QCOMPARE(strip[4], QStringLiteral("Em"));
        QVERIFY2(proposal.size() >= 3, qPrintable(proposal.join(", ")));
        QCOMPARE(proposal.front(), QStringLiteral("Intro 1-4"));
        QCOMPARE(proposal.back(), QStringLiteral("Ending 13-16"));
        QVERIFY2(prompt_.messages.empty(),
                 prompt_.messages.empty() ? "" : prompt_.messages.front().c_str());

        for (const auto& [sub, name] : {std::pair{SubRepository::Intro, "groove-intro.mid"},
                                        std::pair{SubRepository::Fill, "groove-fill1.mid"},
                                        std::pair{SubRepository::Ending, "groove-ending.mid"}}) {
            const fs::path entry = CRepository::Folder(sub) / name;
            QVERIFY2(fs::exists(entry), name);
            const auto& listed = frame.Top().CombineView().Lists().List(sub).EntryPaths();
            QVERIFY2(std::find(listed.begin(), listed.end(), entry) != listed.end(), name);
            QVERIFY(test::ListTexts(frame.Top().TabView().Page(sub).List())
                        .contains(QString::fromLatin1(name)));
        }
        QCOMPARE(frame.Top().CombineView().Lists().List(SubRepository::Fill).EntryCount(),
                 static_cast<std::size_t>(proposal.size() - 2));
        QCOMPARE(test::ReadBytes(Source() / "groove.mid"), SixteenMeasures());
    }

    // A Fill across the change to 3/4 is refused with the measure named and OK waits; a range
    // dragged on the strip, or typed, mends it.
    void ARangeAcrossATimeSignatureChangeIsRefusedUntilAnotherIsChosen() {
        test::WriteBytes(Source() / "metre.mid", MetreChange());
        RecordingPlayer player;
        StyleFromSongDlg dialog(Source() / "metre.mid", player, prompt_);
        QCOMPARE(dialog.Measures().columnCount(), 12);
        while (dialog.Parts().rowCount() > 0) {
            dialog.Parts().selectRow(0);
            dialog.RemoveButton().click();
        }
        QVERIFY(!dialog.OkButton().isEnabled());
        dialog.AddFillButton().click();
        QCOMPARE(dialog.Parts().rowCount(), 1);
        dialog.ToBox(0)->setValue(10);
        dialog.FromBox(0)->setValue(7);
        QVERIFY(!dialog.OkButton().isEnabled());
        QVERIFY2(dialog.Verdict().text().contains(
                     QStringLiteral("Fill 1 (measures 7-10): the time signature changes to 3/4 "
                                    "in measure 9")),
                 qPrintable(dialog.Verdict().text()));

        dialog.Parts().selectRow(0);
        dialog.Measures().clearSelection();  // a new drag starts afresh
        dialog.Measures().setRangeSelected(QTableWidgetSelectionRange(0, 4, 2, 5), true);
        QCOMPARE(dialog.PartList().front().from, 5u);
        QCOMPARE(dialog.PartList().front().to, 6u);
        QCOMPARE(dialog.Measures().item(2, 4)->text(), QStringLiteral("Fill 1"));
        QVERIFY2(dialog.OkButton().isEnabled(), qPrintable(dialog.Verdict().text()));

        dialog.ToBox(0)->setValue(12);
        dialog.FromBox(0)->setValue(9);
        QVERIFY2(dialog.OkButton().isEnabled(), qPrintable(dialog.Verdict().text()));
    }

    void ADrumOnlySongIsSaidOnceAndOffersNoParts() {
        SmfWriter writer(1, 192);
        writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(0);
        SmfTrack& drums = writer.AddTrack();
        for (std::uint32_t beat = 0; beat < 32; ++beat)
            drums.Note(beat * 192, 10, beat % 2 ? 38 : 36, 100, 48);
        drums.EndOfTrack(32 * 192);
        test::WriteBytes(Source() / "drums.mid", writer.Encode());
        RecordingPlayer player;
        StyleFromSongDlg dialog(Source() / "drums.mid", player, prompt_);
        QVERIFY(dialog.Survey().onlyDrums);
        QCOMPARE(dialog.Parts().rowCount(), 0);
        QVERIFY(!dialog.OkButton().isEnabled());
        QVERIFY(!dialog.AddFillButton().isEnabled());
        QVERIFY2(dialog.Verdict().text().contains(QStringLiteral("holds only drums")),
                 qPrintable(dialog.Verdict().text()));
    }

    // Channels 1-7 and the drums are one more than the keyboard plays: the song is refused with
    // the channel to untick, and unticking it brings the proposal.
    void ASongWithTooManyChannelsIsProposedOnceAChannelIsLeftOut() {
        SmfWriter writer(1, 192);
        writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(0);
        SmfTrack& all = writer.AddTrack();
        for (std::uint32_t m = 0; m < 8; ++m) {
            for (std::uint8_t channel : {1, 2, 3, 4, 5, 7, 10})
                all.Note(m * 768, channel, static_cast<std::uint8_t>(40 + channel * 3), 100, 700);
        }
        all.Note(0, 6, 90, 100, 96);
        all.EndOfTrack(8 * 768);
        test::WriteBytes(Source() / "eight.mid", writer.Encode());
        RecordingPlayer player;
        StyleFromSongDlg dialog(Source() / "eight.mid", player, prompt_);
        QCOMPARE(dialog.Parts().rowCount(), 0);
        QVERIFY(!dialog.OkButton().isEnabled());
        QVERIFY2(dialog.Verdict().text().contains(QStringLiteral("untick Keep for channel 6")),
                 qPrintable(dialog.Verdict().text()));
        dialog.Channels().KeepBox(6)->setChecked(false);
        QVERIFY(dialog.Parts().rowCount() >= 2);
        QVERIFY2(dialog.OkButton().isEnabled(), qPrintable(dialog.Verdict().text()));
    }

    // As cut: once, unmoved; fitted: as its folder plays it, over the song's own chords.
    void PlayHearsAPartAsCutAndAsFitted() {
        test::WriteBytes(Source() / "groove.mid", SixteenMeasures());
        RecordingPlayer player;
        StyleFromSongDlg dialog(Source() / "groove.mid", player, prompt_);
        const int fill = LastRowOf(dialog, SongPartKind::Fill);
        QVERIFY(fill >= 0);
        dialog.SetRange(fill, 5, 6);
        dialog.Parts().selectRow(fill);

        dialog.PlayCutButton().click();
        QVERIFY(player.existed);
        QCOMPARE(player.played.front().sub, SubRepository::Intro);
        QCOMPARE(player.charts.back(), std::string("C"));
        dialog.PlayFittedButton().click();
        QVERIFY(player.existed);
        QCOMPARE(player.played.front().sub, SubRepository::Fill);
        QCOMPARE(player.charts.back(), std::string("Em | C"));
        QVERIFY(player.played.front().file != Source() / "groove.mid");

        // An Intro is moved as a whole into C major, so it goes back by the song's key chord,
        // not by its first measure's chord (Em here, which would move it by a third and make it
        // minor).
        const int intro = LastRowOf(dialog, SongPartKind::Intro);
        QVERIFY(intro >= 0);
        dialog.SetRange(intro, 5, 8);
        dialog.Parts().selectRow(intro);
        dialog.PlayFittedButton().click();
        QCOMPARE(player.played.front().sub, SubRepository::Intro);
        QCOMPARE(QString::fromStdString(player.charts.back()), QStringLiteral("G"));
    }

    void Screenshot() {
        const QString out = qEnvironmentVariable("VANTREL_SCREENSHOT");
        if (out.isEmpty())
            QSKIP("set VANTREL_SCREENSHOT to a PNG path to write the picture");
        test::WriteBytes(Source() / "groove.mid", SixteenMeasures());
        RecordingPlayer player;
        StyleFromSongDlg dialog(Source() / "groove.mid", player, prompt_);
        dialog.Parts().selectRow(1);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.grab().save(out));
    }

  private:
    fs::path Source() const { return source_->Path(); }

    test::ScriptedPrompt prompt_;
    std::unique_ptr<test::TempRepository> repository_;
    std::unique_ptr<ScopedTempDir> source_;
};

}  // namespace vantrel

QTEST_MAIN(vantrel::StyleFromSongTest)
#include "StyleFromSongTest.moc"
