// Slide shows on a virtual clock, in a shown main window with the settings
// at their start values and three solid pictures: what the canvas shows at
// each moment of an automatic show, how Esc and Stop end it, the manual
// show's steps, the shows' hand-over of pictures from their workers, and the
// slides and settings dialogs driven as a user drives them.
#include "platform/Dialog.h"
#include "resources/DialogTemplates.h"
#include "slideshow/SettingCombo.h"
#include "slideshow/SlideShow.h"
#include "slideshow/VirtualClock.h"
#include "support/WindowTest.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <random>

namespace {

using namespace std::chrono_literals;

constexpr COLORREF kYellow = RGB(255, 255, 0), kMagenta = RGB(255, 0, 255), kCyan = RGB(0, 255, 255);

using Times = std::vector<std::pair<long long, QString>>;

class SlideShowTest : public WindowTest {
protected:
    SlideShowTest()
    {
        SetSlideClock(&clock);
        g_astrSlides.clear();
        g_nSlideDelay = 1;
        g_bSlideAuto = 1;
        g_bSlideLoop = 0;
        g_nSlidePos = 0;
        frame.resize(800, 600);
        frame.show();
        a = Picture("a.png", 40, 30, kYellow);
        b = Picture("b.png", 20, 20, kMagenta);
        c = Picture("c.png", 10, 50, kCyan);
    }
    ~SlideShowTest() override
    {
        EndSlideShows();
        QCoreApplication::processEvents();
        SetSlideClock(nullptr);
    }

    // Lets every show run until it sleeps or ends, then draws what the
    // shows handed to the user-interface thread.
    void Settle()
    {
        clock.WaitUntilIdle();
        QCoreApplication::processEvents();
    }
    // Time moves on to the next moment a show wakes, and the shows run.
    bool Step()
    {
        const bool woke = clock.AdvanceToNextWake();
        Settle();
        return woke;
    }
    // Which picture the canvas shows in the middle of the slide rectangle.
    QString Shown() const
    {
        const COLORREF pixel = Pixel(frame.View()->width() / 2, 25 + frame.View()->height() / 2);
        return pixel == kYellow ? "a" : pixel == kMagenta ? "b" : pixel == kCyan ? "c" : pixel == kWhite ? "none" : "other";
    }
    // The moments (virtual milliseconds) each picture came up, and when the
    // last show ended: the run of the show from now until no show sleeps.
    Times Timeline()
    {
        Times seen;
        Settle();
        do {
            if (seen.empty() || seen.back().second != Shown())
                seen.emplace_back(clock.Now(), Shown());
        } while (Step());
        seen.emplace_back(clock.Now(), "end");
        return seen;
    }
    void Play(const QStringList& slides)
    {
        g_astrSlides = slides;
        StartSlideShow();
    }

    VirtualSlideClock clock;
    QString a, b, c;
};

TEST_F(SlideShowTest, EachPictureIsFollowedByTheFullDelayAndAnEmptyPathByNone)
{
    g_nSlideDelay = 2;
    Play({a, b, c});
    EXPECT_EQ(Timeline(), (Times{{0, "a"}, {2000, "b"}, {4000, "c"}, {6000, "end"}}));
    EXPECT_EQ(RunningSlideShows(), 0);
    // An empty path costs no time; a picture that cannot be loaded keeps its
    // wait and draws nothing.
    frame.RefreshCanvas(false);
    g_nSlideDelay = 3;
    Play({a, "", dir.path(), dir.filePath("missing.bmp"), c});
    EXPECT_EQ(Timeline(), (Times{{6000, "a"}, {15000, "c"}, {18000, "end"}}));
    EXPECT_TRUE(ws.Shown().empty());
}

TEST_F(SlideShowTest, TheSlideCoversTheClientAreaFromRow25AndLeavesTheFiguresInTheList)
{
    Add(FK_RECTANGLE, {100, 100, 200, 200}, kBlack, kBlue);
    frame.RefreshCanvas(false);
    QWidget question;  // a message box captioned with the program's title is not the main window
    question.setWindowTitle(kAppTitle);
    question.show();
    Play({a});
    Settle();
    // The 40 x 30 picture stretched to the view's size from (0, 25): its red
    // corner pixel becomes a block of view / picture pixels.
    const int w = frame.View()->width(), h = frame.View()->height();
    const std::pair<POINT, COLORREF> probes[] = {
        {{0, 25}, kRed},            {{w / 40 - 1, 25 + h / 30 - 1}, kRed}, {{w / 40 + 1, 25 + h / 30 + 1}, kYellow},
        {{w - 1, 24 + h}, kYellow}, {{w - 1, 24}, kWhite},                {{w, 25 + h / 2}, kWhite}};
    for (const auto& [p, color] : probes)
        EXPECT_EQ(Pixel(p.x, p.y), color) << p.x << "," << p.y;
    frame.RefreshCanvas(false);
    EXPECT_EQ(Pixel(150, 150), kBlue) << "the figure is still there";
}

TEST_F(SlideShowTest, EscapeOrStopEndsEveryRunningShowBeforeItsNextPicture)
{
    g_nSlideDelay = 5;
    Play({a, b});
    Settle();
    clock.Advance(1s);
    Key(Qt::Key_Escape);
    Settle();
    // The waiting show woke at once and ended; the picture stays up.
    EXPECT_EQ(RunningSlideShows(), 0);
    EXPECT_EQ(clock.Now(), 1000);
    EXPECT_EQ(Shown(), "a");
    // Two shows at once: a new show is not stopped by an earlier request,
    // and one request stops both. "Stop" in the dialog does it too.
    Play({b, c});
    Play({c, a});
    Settle();
    EXPECT_EQ(clock.Users(), 2);
    ModalDialogScript script;
    script.Then([](CDialog& d) {
        d.SendCommand(IDC_SLIDES_STOP);
        EXPECT_FALSE(d.IsEnded());
        d.EndDialog(IDCANCEL);
    });
    frame.OnCommand(ID_FORMAT_SLIDESHOW);
    Settle();
    EXPECT_EQ(clock.Users(), 0);
    // A picture handed over but not drawn yet when the stop comes is not drawn.
    frame.RefreshCanvas(false);
    Play({a});
    clock.WaitUntilIdle();
    Key(Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(Shown(), "none");
}

TEST_F(SlideShowTest, ALoopingShowReadsTheDelayAtEachPassAndWithoutADelayRestsBetweenPasses)
{
    g_bSlideLoop = 1;
    Play({a, b});
    Settle();
    g_nSlideDelay = 3;  // the pass under way keeps its delay of 1
    Times seen{{clock.Now(), Shown()}};
    for (int i = 0; i < 3 && Step(); ++i)
        seen.emplace_back(clock.Now(), Shown());
    EXPECT_EQ(seen, (Times{{0, "a"}, {1000, "b"}, {2000, "a"}, {5000, "b"}}));
    Key(Qt::Key_Escape);
    Settle();
    EXPECT_EQ(clock.Users(), 0);
    // With no delay at all a looping show rests between passes, so it never
    // spins a processor, and still stops on request.
    g_nSlideDelay = 0;
    Play({a, b});
    Settle();
    EXPECT_EQ(Shown(), "b");
    ASSERT_TRUE(Step());
    EXPECT_EQ(clock.Now(), 5100);
    Key(Qt::Key_Escape);
    Settle();
    EXPECT_EQ(clock.Users(), 0);
}

TEST_F(SlideShowTest, WithAFigureSelectedEscapeAndRightLeaveTheShowsAlone)
{
    Add(FK_RECTANGLE, {100, 100, 200, 200});
    Click({150, 150});
    g_nSlideDelay = 5;
    Play({a, b});
    Settle();
    EXPECT_EQ(Pixel(97, 97), kBlue) << "the handles stay on top of the slide: yellow inverted";
    Key(Qt::Key_Escape);
    Settle();
    EXPECT_EQ(clock.Users(), 1);
    ASSERT_TRUE(Step());
    EXPECT_EQ(Shown(), "b");
    EndSlideShows();
    g_bSlideAuto = 0;
    Key(Qt::Key_Right);
    EXPECT_EQ(g_nSlidePos, 0) << "no manual step";
    EXPECT_EQ(Fig(0).m_rect, (RECT{105, 100, 205, 200})) << "the key moved the selection instead";
}

TEST_F(SlideShowTest, ARightArrowStepsTheManualShowAndAtTheEndAsksToBeginAgain)
{
    g_bSlideAuto = 0;
    // "Play" in the manual mode only says how to step; no show runs.
    Play({a, b});
    Settle();
    EXPECT_EQ(Messages(),
              QStringList{"You Have selected manual option,Press Right Arrow key to Continue | Error | 0 | none"});
    EXPECT_EQ(clock.Users(), 0);
    ws.Reset();
    // At the end Cancel changes nothing and OK goes back to the start. A
    // position beyond a list that became shorter is the end of the show.
    QStringList seen;
    for (int answer : {0, 0, IDCANCEL, IDOK, 0, 0, IDOK, 0}) {
        if (answer)
            ws.QueueMessageBoxAnswer(answer);
        if (seen.size() == 6)
            g_astrSlides = {c};
        Key(Qt::Key_Right);
        seen << Shown();
    }
    EXPECT_EQ(seen, (QStringList{"a", "b", "b", "b", "a", "b", "b", "c"}));
    EXPECT_EQ(Messages(), QStringList(3, "You have reached end of the show,Would you like to continue | title | 1 | main"));
    // In the automatic mode the Right arrow does nothing for the show.
    g_bSlideAuto = 1;
    g_astrSlides = {a};
    Key(Qt::Key_Right);
    EXPECT_EQ(Shown(), "c");
}

TEST_F(SlideShowTest, ASlideThatArrivesDuringADragWaitsForTheRelease)
{
    frame.OnInsertRectangle();
    Press({300, 300});
    Move({400, 400});
    const QImage during = Canvas();
    Play({a});
    Settle();
    EXPECT_EQ(Canvas(), during);
    Release({400, 400});
    EXPECT_EQ(Shown(), "a");
    EXPECT_EQ(Pixel(300, 300), kYellow) << "the new rectangle is under the slide, its band gone";
}

TEST_F(SlideShowTest, ShowsStartedAndStoppedWhileTheListIsRefilledStayConsistent)
{
    // Many workers on the real clock, looping without delay, while the list
    // they were started from is refilled and emptied under them; then one
    // that sleeps a day.
    SetSlideClock(nullptr);
    g_nSlideDelay = 0;
    g_bSlideLoop = 1;
    std::mt19937 random(7);
    const QStringList pictures{a, b, c, "", dir.filePath("missing.png")};
    for (int round = 0; round < 60; ++round) {
        g_astrSlides.clear();
        for (int i = 0, n = static_cast<int>(random() % 6); i < n; ++i)
            g_astrSlides.append(pictures[static_cast<int>(random() % pictures.size())]);
        StartSlideShow();
        QCoreApplication::processEvents();
        if (round % 3 == 0)
            g_bSlideStop.Set();
        if (round % 7 == 0)
            g_nSlideDelay = static_cast<int>(random() % 2);
        g_astrSlides.append(a);
    }
    EndSlideShows();
    EXPECT_EQ(RunningSlideShows(), 0);
    QCoreApplication::processEvents();
    EXPECT_NE(Shown(), "other");
    // A show that waits a day still ends when the window goes.
    g_nSlideDelay = 86400;
    Play({a});
    EndSlideShows();
    EXPECT_EQ(RunningSlideShows(), 0);
}

// The slides dialog and the settings dialog, driven as a user drives them.
using SlidesDialogTest = SlideShowTest;

TEST_F(SlidesDialogTest, PicturesAreListedSortedAndShownInTheOrderOfAdding)
{
    const QString cc = Picture("c.bmp", 8, 8, kCyan), aa = Picture("a.bmp", 8, 8, kYellow),
                  bb = Picture("b.bmp", 8, 8, kMagenta);
    g_astrSlides = {aa};  // left from an earlier showing: each showing starts empty
    ModalDialogScript script;
    script.Then([&](CDialog& d) {
        for (const QStringList& files : {QStringList{cc}, QStringList{aa}, QStringList{bb}, QStringList{}}) {
            ws.QueueOpenFiles(files);  // the last one cancelled
            d.SendCommand(IDC_SLIDES_BROWSE);
        }
        const auto* combo = d.GetDlgItemAs<QComboBox>(IDC_SLIDES_LIST);
        EXPECT_EQ(QStringList({combo->itemText(0), combo->itemText(1), combo->itemText(2)}), (QStringList{aa, bb, cc}));
        EXPECT_EQ(combo->count(), 3);
        d.SendCommand(IDC_SLIDES_PLAY);
        EXPECT_TRUE(d.IsEnded());
    });
    frame.OnCommand(ID_FORMAT_SLIDESHOW);
    EXPECT_EQ(script.Shown(), QStringList{"SlidesDialog"});
    const auto chooser = ws.Shown(DialogKind::OpenFile);
    ASSERT_EQ(chooser.size(), 4u);
    EXPECT_TRUE(chooser[0].multiSelect);
    EXPECT_EQ(chooser[0].filter, kBitmapFilter);
    EXPECT_EQ(chooser[0].owner, nullptr);
    EXPECT_EQ(Timeline(), (Times{{0, "c"}, {1000, "a"}, {2000, "b"}, {3000, "end"}}));

    // Play with nothing chosen reports it; a multiple choice adds every file,
    // duplicates too, in the order given.
    ws.Reset();
    for (const QStringList& files : {QStringList{}, QStringList{bb, aa, bb}}) {
        ModalDialogScript again;
        again.Then([&](CDialog& d) {
            ws.QueueOpenFiles(files);
            d.SendCommand(IDC_SLIDES_BROWSE);
            d.SendCommand(IDC_SLIDES_PLAY);
        });
        frame.OnCommand(ID_FORMAT_SLIDESHOW);
        Settle();
    }
    EXPECT_EQ(Messages(), QStringList{"No picture selected | Error | 1 | none"});
    EXPECT_EQ(Timeline(), (Times{{3000, "b"}, {4000, "a"}, {5000, "b"}, {6000, "end"}}));
}

TEST_F(SlidesDialogTest, TheSettingsStartAtOneAndRefuseADelayOfNothing)
{
    g_nSlideDelay = 5;
    g_bSlideAuto = 0;
    g_bSlideLoop = 1;
    // "Advanced..." opens the settings over the slides dialog; they start at a
    // delay of 1 with the stored choices; letters cannot be typed; nothing, 0
    // or 00 are refused, the choices stored all the same; Cancel keeps them.
    ModalDialogScript script;
    script.Then([](CDialog& d) { d.SendCommand(IDC_SLIDES_ADVANCED); });
    script.Then([&](CDialog& d) {
        EXPECT_EQ(d.GetDlgItemText(IDC_SETTING_DELAY), "1");
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_SETTING_MANUAL), BST_CHECKED);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_SETTING_AUTO), BST_UNCHECKED);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_SETTING_LOOP), BST_CHECKED);
        EXPECT_EQ(d.Window()->focusWidget(), d.GetDlgItem(IDOK));
        auto* edit = d.GetDlgItemAs<QLineEdit>(IDC_SETTING_DELAY);
        for (const char* typed : {"abc", "0", "00"}) {
            edit->clear();
            QTest::keyClicks(edit, typed);
            d.CheckDlgButton(IDC_SETTING_AUTO, BST_CHECKED);
            d.CheckDlgButton(IDC_SETTING_LOOP, BST_UNCHECKED);
            QTest::keyClick(edit, Qt::Key_Return);
            EXPECT_FALSE(d.IsEnded()) << typed;
        }
        d.SendCommand(IDCANCEL);
    });
    script.Then([](CDialog& d) { d.SendCommand(IDCANCEL); });
    frame.OnCommand(ID_FORMAT_SLIDESHOW);
    EXPECT_EQ(script.Shown(), (QStringList{"SlidesDialog", "SettingCombo"}));
    EXPECT_EQ(Messages(), QStringList(3, "Plz increase the delay | title | 0 | other")) << "the settings dialog's";
    // A delay of 0, automatic and without a loop: the pictures change without waiting.
    Play({a, b, c});
    EXPECT_EQ(Timeline(), (Times{{0, "c"}, {0, "end"}}));
}

TEST_F(SlidesDialogTest, InAManualShowItsOwnKeysAndClicksStepPastPicturesWithoutShowingThem)
{
    g_bSlideAuto = 0;
    const QImage before = Canvas();
    for (bool automatic : {false, true}) {
        g_bSlideAuto = automatic;
        ModalDialogScript script;
        script.Then([&](CDialog& d) {
            ws.QueueOpenFiles({a, b});
            d.SendCommand(IDC_SLIDES_BROWSE);
            auto* stop = d.GetDlgItemAs<QPushButton>(IDC_SLIDES_STOP);
            stop->setFocus();
            QTest::keyClick(stop, Qt::Key_A);  // no control takes it: a step
            QTest::mouseClick(d.Window(), Qt::LeftButton, {}, QPoint(3, 3));
            ws.QueueMessageBoxAnswer(IDOK);
            QTest::keyClick(stop, Qt::Key_B);  // past the end: the question
            QTest::keyClick(stop, Qt::Key_Escape);  // closes the dialog, no step
            EXPECT_TRUE(d.IsEnded());
        });
        frame.OnCommand(ID_FORMAT_SLIDESHOW);
    }
    EXPECT_EQ(Messages(), QStringList{"You have reached end of the show,Would you like to continue | title | 1 | other"})
        << "the slides dialog's, and none in the automatic mode";
    EXPECT_EQ(Canvas(), before);
    g_bSlideAuto = 0;
    Key(Qt::Key_Right);
    EXPECT_EQ(Shown(), "a") << "the position went back to the start";
}

}  // namespace
