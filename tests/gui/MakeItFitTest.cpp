// "Make it fit…" after an import refused a file: the offer, the dialog's change list and
// budget, and the fitted copy imported under the file's name with the original untouched.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "ChordSongs.h"
#include "ScriptedPrompt.h"
#include "WindowTestSupport.h"
#include "app/CBottomView.h"
#include "app/CMainFrame.h"
#include "app/CTopView.h"
#include "controls/ui/CCJShellList.h"
#include "controls/ui/ShellListModel.h"
#include "device/ui/CMiddleView.h"
#include "pattern/PatternCheck.h"
#include "repository/ui/CTopTabView.h"
#include "repository/ui/CTopTabViewPage.h"
#include "repository/ui/ChannelChoices.h"
#include "repository/ui/MakeItFitDlg.h"
#include "repository/ui/MeasureStrip.h"
#include "repository/ui/SubRepositoryListBox.h"

namespace vantrel {

namespace fs = std::filesystem;

class MakeItFitTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() {
        prompt_ = test::ScriptedPrompt();
        repository_ = std::make_unique<test::TempRepository>();
        source_ = std::make_unique<ScopedTempDir>();
        test::WriteBytes(Source() / "bad.mid", test::RefusedPattern());
        frame_ = std::make_unique<CMainFrame>(prompt_);
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
        frame_->Bottom().List().Fill(QString::fromStdString(Source().string()));
    }
    void cleanup() {
        frame_.reset();
        source_.reset();
        repository_.reset();
    }

    void OkImportsTheFittedCopyUnderTheSameNameAndLeavesTheFileAlone() {
        frame_->Top().TabView().SetCurrentTab(SubRepository::Fill);
        prompt_.acceptOffers = true;
        QString report;
        bool okEnabled = false;
        frame_->SetFitDialogRunner([&](MakeItFitDlg& dialog) {
            report = dialog.Report().toPlainText();
            okEnabled = dialog.OkButton().isEnabled();
            return true;
        });
        SelectBad();
        frame_->Middle().OnImport();

        QCOMPARE(prompt_.messages.back(), std::string("bad.mid:  File is not supported!"));
        QCOMPARE(prompt_.offers.size(), std::size_t{1});
        QVERIFY(prompt_.offers[0].find("[Make it fit\u2026]") != std::string::npos);
        QVERIFY(okEnabled);
        QVERIFY2(report.contains(QStringLiteral("channel: channel 1 to 12")), qPrintable(report));
        QVERIFY(report.contains(QStringLiteral("budget: ")));
        QVERIFY(report.contains(QStringLiteral("of 2,048 bytes")));
        QVERIFY(report.endsWith(QStringLiteral("fits\n")));

        const fs::path imported = CRepository::Folder(SubRepository::Fill) / "bad.mid";
        QVERIFY(fs::exists(imported));
        test::ScriptedPrompt quiet;
        QVERIFY(CheckPatternFile(imported, quiet).empty());
        QCOMPARE(test::ReadBytes(Source() / "bad.mid"), test::RefusedPattern());
        QCOMPARE(test::ListTexts(frame_->Top().TabView().Page(SubRepository::Fill).List()),
                 QStringList{"bad.mid"});
    }

    void CancelOrADeclinedOfferImportsNothing() {
        frame_->SetFitDialogRunner([](MakeItFitDlg&) { return false; });
        prompt_.acceptOffers = true;
        SelectBad();
        frame_->Middle().OnImport();
        prompt_.acceptOffers = false;
        frame_->Middle().OnImport();
        QCOMPARE(prompt_.offers.size(), std::size_t{2});
        QVERIFY(!fs::exists(CRepository::Folder(SubRepository::Intro) / "bad.mid"));
    }

    void TheDialogRefitsWithTheMeasuresChosenAndRefusesWhatCannotFit() {
        SmfWriter writer(1, 192);
        writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(0);
        SmfTrack& all = writer.AddTrack();
        for (std::uint8_t channel = 1; channel <= 9; ++channel)
            all.Note(channel * 768u, channel, 60, 100, 96);
        all.EndOfTrack(8000);
        test::WriteBytes(Source() / "many.mid", writer.Encode());

        MakeItFitDlg many(Source() / "many.mid");
        QVERIFY(!many.OkButton().isEnabled());
        QVERIFY(
            many.Report().toPlainText().startsWith(QStringLiteral("cannot be fitted: 9 channels")));

        test::WriteBytes(Source() / "Groove.mid", GrooveAsAMusicianHasIt());
        MakeItFitDlg groove(Source() / "Groove.mid");
        QVERIFY(!groove.Report().toPlainText().contains(QStringLiteral("kept the first")));
        groove.MeasuresBox().setValue(4);
        QVERIFY(groove.OkButton().isEnabled());
        QVERIFY2(
            groove.Report().toPlainText().contains(QStringLiteral("kept the first 4 measures")),
            qPrintable(groove.Report().toPlainText()));
        QCOMPARE(groove.Result().notesOut.at(13), 16);
    }

    // Channels 1-7 and the drums: one channel more than the keyboard has places for. The window
    // names the channel to untick, not an option of the command line, and OK follows the fit.
    void AnEightChannelSongIsMadeToFitByTheChannelControls() {
        SmfWriter writer(1, 192);
        writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(0);
        SmfTrack& all = writer.AddTrack();
        for (std::uint8_t channel : {1, 2, 3, 4, 5, 6, 7, 10}) {
            const int notes = channel == 6 ? 1 : 3;
            for (int n = 0; n < notes; ++n)
                all.Note(static_cast<std::uint32_t>(n * 768 + channel * 24), channel,
                         static_cast<std::uint8_t>(40 + channel * 3), 100, 96);
        }
        all.EndOfTrack(4 * 768);
        test::WriteBytes(Source() / "eight.mid", writer.Encode());

        MakeItFitDlg dialog(Source() / "eight.mid");
        QCOMPARE(dialog.Channels().rowCount(), 8);
        QVERIFY(!dialog.OkButton().isEnabled());
        const QString verdict = dialog.Verdict().text();
        QVERIFY2(verdict.contains(QStringLiteral("untick Keep for channel 6")),
                 qPrintable(verdict));
        QVERIFY(!verdict.contains(QStringLiteral("--drop")));
        QVERIFY(!dialog.Report().toPlainText().contains(QStringLiteral("--drop 6")));

        dialog.Channels().KeepBox(6)->setChecked(false);
        QVERIFY2(dialog.OkButton().isEnabled(), qPrintable(dialog.Verdict().text()));
        QVERIFY(dialog.Verdict().text().startsWith(QStringLiteral("Fits: ")));
        QVERIFY(!dialog.Result().channelMap.count(6));
        QVERIFY(!dialog.Channels().TargetBox(6)->isEnabled());

        dialog.Channels().TargetBox(1)->setCurrentText(QStringLiteral("16"));
        QCOMPARE(dialog.Result().channelMap.at(1), 16);
        dialog.Channels().TargetBox(2)->setCurrentText(QStringLiteral("16"));
        QVERIFY(!dialog.OkButton().isEnabled());
        QVERIFY2(dialog.Verdict().text().contains(
                     QStringLiteral("channels 1 and 2 both go to channel 16")),
                 qPrintable(dialog.Verdict().text()));
        dialog.Channels().TargetBox(2)->setCurrentText(QStringLiteral("auto"));
        QVERIFY(dialog.OkButton().isEnabled());
    }

    // A copy that passes the pattern rules but overflows the keyboard's block is no fit: OK
    // waits until a shorter range is chosen.
    void OkWaitsWhileTheCopyIsLargerThanItsBlock() {
        SmfWriter writer(1, 192);
        writer.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).EndOfTrack(0);
        SmfTrack& busy = writer.AddTrack();
        for (std::uint32_t step = 0; step < 16 * 16; ++step) {
            busy.Note(step * 48, 12, static_cast<std::uint8_t>(36 + step % 12), 100, 40);
            busy.Note(step * 48, 13, static_cast<std::uint8_t>(60 + step % 7), 90, 40);
        }
        busy.EndOfTrack(16 * 768);
        test::WriteBytes(Source() / "busy.mid", writer.Encode());

        MakeItFitDlg dialog(Source() / "busy.mid");
        QVERIFY(!dialog.Result().refused);
        QVERIFY(dialog.Result().checkErrors.empty());
        QVERIFY(dialog.Result().bytes > kFitBudget);
        QVERIFY(!dialog.OkButton().isEnabled());
        QVERIFY2(dialog.Verdict().text().startsWith(QStringLiteral("Does not fit: ")),
                 qPrintable(dialog.Verdict().text()));
        dialog.MeasuresBox().setValue(2);
        QVERIFY2(dialog.OkButton().isEnabled(), qPrintable(dialog.Verdict().text()));
    }

    // G | D | Em | C | G: the measures' chords are shown for every treatment; a Fill starts
    // on the source chord, an Intro in a whole key, and a range dragged on the strip is kept.
    void TheChordsOfEachMeasureAndTheTreatmentFollowThePartKind() {
        const int major = 4;
        test::WriteBytes(
            Source() / "song.mid",
            test::ChordSong({{7, major}, {2, major}, {4, 3}, {0, major}, {7, major}}).Encode());
        MakeItFitDlg fill(Source() / "song.mid", SubRepository::Fill);
        QCOMPARE(fill.ChordsBox().currentData().toInt(), int{MakeItFitDlg::SourceChord});
        QVERIFY2(fill.Report().toPlainText().contains(QStringLiteral("source-chord: moved")),
                 qPrintable(fill.Report().toPlainText()));
        MeasureStrip& strip = fill.Measures();
        QCOMPARE(strip.columnCount(), 5);
        QStringList chords;
        for (int column = 0; column < 5; ++column)
            chords << strip.item(0, column)->text();
        QCOMPARE(chords, (QStringList{"G", "D", "Em", "C", "G"}));
        QVERIFY(strip.item(1, 0)->text().endsWith(QLatin1Char('%')));

        strip.setRangeSelected(QTableWidgetSelectionRange(0, 1, 1, 2), true);
        QCOMPARE(fill.FirstMeasureBox().value(), 2);
        QCOMPARE(fill.MeasuresBox().value(), 3);
        QCOMPARE(fill.Result().measureFindings.size(), std::size_t{2});
        QCOMPARE(fill.Result().measureFindings.front().measure, 2u);
        QVERIFY(fill.OkButton().isEnabled());

        MakeItFitDlg intro(Source() / "song.mid", SubRepository::Intro);
        QCOMPARE(intro.ChordsBox().currentData().toInt(), int{MakeItFitDlg::WholeKey});
        QVERIFY(intro.KeyBox().isEnabled());
        QCOMPARE(intro.Measures().columnCount(), 5);
        QVERIFY2(intro.Report().toPlainText().contains(QStringLiteral("G major (found")),
                 qPrintable(intro.Report().toPlainText()));
        intro.KeyBox().setCurrentText(QStringLiteral("D"));
        QVERIFY2(intro.Report().toPlainText().contains(
                     QStringLiteral("from D major (given) into C major")),
                 qPrintable(intro.Report().toPlainText()));

        MakeItFitDlg plain(Source() / "song.mid");
        QCOMPARE(plain.ChordsBox().currentData().toInt(), int{MakeItFitDlg::KeepChords});
        QVERIFY(!plain.KeyBox().isEnabled());
        QVERIFY(!plain.Report().toPlainText().contains(QStringLiteral("source-chord")));
    }

    void Screenshot() {
        const QString out = qEnvironmentVariable("VANTREL_SCREENSHOT");
        if (out.isEmpty())
            QSKIP("set VANTREL_SCREENSHOT to a PNG path to write the picture");
        test::WriteBytes(Source() / "Groove.mid", GrooveAsAMusicianHasIt());
        MakeItFitDlg dialog(Source() / "Groove.mid", SubRepository::Fill);
        dialog.MeasuresBox().setValue(4);
        dialog.resize(780, 560);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.grab().save(out));
    }

  private:
    fs::path Source() const { return source_->Path(); }

    // 480 ticks per quarter note, format 0, melody on 1, bass on 2, drums on 10.
    static std::vector<std::uint8_t> GrooveAsAMusicianHasIt() {
        SmfWriter writer(0, 480);
        SmfTrack& track = writer.AddTrack();
        track.Text(0, 0x03, "Groove").Tempo(0, 500000).TimeSignature(0, 4, 2);
        for (std::uint32_t beat = 0; beat < 32; ++beat) {
            track.Note(beat * 480, 1, static_cast<std::uint8_t>(64 + beat % 7), 90, 400);
            track.Note(beat * 480, 10, beat % 2 ? 38 : 36, 100, 120);
            if (beat % 2 == 0)
                track.Note(beat * 480, 2, 36, 100, 900);
        }
        track.Channel(15000, 0x90, 1, 76, 80).EndOfTrack(15360);
        return writer.Encode();
    }

    void SelectBad() {
        CCJShellList& list = frame_->Bottom().List();
        QVERIFY(QTest::qWaitFor([&list] { return !list.IsListing(); }, 5000));
        list.clearSelection();
        for (int row = 0; row < list.Model().rowCount(); ++row) {
            if (list.Model().Row(row).name == QStringLiteral("bad.mid")) {
                list.selectionModel()->select(
                    list.Model().index(row, 0),
                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
            }
        }
        QCOMPARE(list.SelectedNames().size(), 1);
    }

    test::ScriptedPrompt prompt_;
    std::unique_ptr<test::TempRepository> repository_;
    std::unique_ptr<ScopedTempDir> source_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace vantrel

QTEST_MAIN(vantrel::MakeItFitTest)
#include "MakeItFitTest.moc"
