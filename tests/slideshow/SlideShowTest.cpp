// Slide shows on a virtual clock: what the canvas shows at each moment of
// an automatic show, how Esc and Stop end it, the manual show's steps, and
// the shows' hand-over of pictures from their workers.
#include "slideshow/SlideShowFixture.h"

#include "resources/DialogTemplates.h"
#include "resources/ResourceIds.h"

#include <random>

namespace {

TEST_F(SlideShowTest, EachPictureIsFollowedByTheFullDelayAndAnEmptyPathByNone)
{
    g_nSlideDelay = 2;
    Play({a, b, c});
    EXPECT_EQ(Timeline(), (Times{{0, "a"}, {2000, "b"}, {4000, "c"}, {6000, "end"}}));
    EXPECT_EQ(RunningSlideShows(), 0);

    // An empty path costs no time; a picture that cannot be loaded keeps its
    // wait and draws nothing.
    frame.RefreshCanvas(false);
    const QString bogus = dir.filePath("bogus.png");
    QFile file(bogus);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    g_nSlideDelay = 3;
    Play({a, "", bogus, dir.filePath("missing.bmp"), c});
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
    EXPECT_EQ(Pixel(0, 25), kRed);
    EXPECT_EQ(Pixel(w / 40 - 1, 25 + h / 30 - 1), kRed);
    EXPECT_EQ(Pixel(w / 40 + 1, 25 + h / 30 + 1), kYellow);
    EXPECT_EQ(Pixel(w - 1, 25 + h - 1), kYellow);
    EXPECT_EQ(Pixel(w - 1, 24), kWhite);
    EXPECT_EQ(Pixel(w, 25 + h / 2), kWhite);
    EXPECT_EQ(Pixel(150, 150), kYellow);
    EXPECT_EQ(g_pFigures->GetSize(), 1);
    frame.RefreshCanvas(false);
    EXPECT_EQ(Pixel(150, 150), kBlue);
}

TEST_F(SlideShowTest, EscapeOrStopEndsEveryRunningShowBeforeItsNextPicture)
{
    g_nSlideDelay = 5;
    Play({a, b});
    Settle();
    EXPECT_EQ(Shown(), "a");
    clock.Advance(1s);
    SendKey(Qt::Key_Escape);
    Settle();
    // The waiting show woke at once and ended; the picture stays up.
    EXPECT_EQ(clock.Users(), 0);
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
    EXPECT_FALSE(Step());
}

TEST_F(SlideShowTest, APictureDecodedBeforeAStopIsNotDrawnAfterIt)
{
    Play({a});
    clock.WaitUntilIdle();  // handed over, not drawn yet
    SendKey(Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(Shown(), "none");
}

TEST_F(SlideShowTest, ALoopingShowReadsTheDelayAtEachPassUntilStopped)
{
    g_bSlideLoop = 1;
    Play({a, b});
    Settle();
    EXPECT_EQ(Shown(), "a");
    g_nSlideDelay = 3;  // the pass under way keeps its delay of 1
    ASSERT_TRUE(Step());
    EXPECT_EQ(Shown(), "b");
    EXPECT_EQ(clock.Now(), 1000);
    ASSERT_TRUE(Step());
    EXPECT_EQ(Shown(), "a");
    EXPECT_EQ(clock.Now(), 2000);
    ASSERT_TRUE(Step());
    EXPECT_EQ(Shown(), "b");
    EXPECT_EQ(clock.Now(), 5000);
    SendKey(Qt::Key_Escape);
    Settle();
    EXPECT_EQ(clock.Users(), 0);

    // With no delay at all a looping show rests between passes, so it
    // never spins a processor, and still stops on request.
    g_nSlideDelay = 0;
    Play({a, b});
    Settle();
    EXPECT_EQ(Shown(), "b");
    ASSERT_TRUE(Step());
    EXPECT_EQ(clock.Now(), 5100);
    EXPECT_EQ(clock.Users(), 1);
    SendKey(Qt::Key_Escape);
    Settle();
    EXPECT_EQ(clock.Users(), 0);
}

TEST_F(SlideShowTest, WithAFigureSelectedEscapeAndRightLeaveTheShowsAlone)
{
    Add(FK_RECTANGLE, {100, 100, 200, 200});
    frame.RefreshCanvas(false);
    Click({150, 150});
    ASSERT_TRUE(frame.m_pSelRect);
    g_nSlideDelay = 5;
    Play({a, b});
    Settle();
    EXPECT_EQ(Shown(), "a");
    // The handles stay on top of the slide.
    EXPECT_EQ(Pixel(97, 97), kBlue);  // the yellow under the ring, inverted
    SendKey(Qt::Key_Escape);
    Settle();
    EXPECT_EQ(clock.Users(), 1);
    EXPECT_FALSE(g_bSlideStop.IsSet());
    ASSERT_TRUE(Step());
    EXPECT_EQ(Shown(), "b");
    EndSlideShows();

    g_bSlideAuto = 0;
    g_astrSlides = {a, b};
    SendKey(Qt::Key_Right);
    EXPECT_EQ(g_nSlidePos, 0);
    EXPECT_EQ(frame.m_pSelRect->left, 105);  // the key moved the selection instead
}

TEST_F(SlideShowTest, ARightArrowStepsTheManualShowAndAtTheEndAsksToBeginAgain)
{
    g_bSlideAuto = 0;
    // "Play" in the manual mode only says how to step; no show runs.
    Play({a, b});
    Settle();
    ASSERT_EQ(ws.Shown().size(), 1u);
    EXPECT_EQ(ws.Shown()[0].text, "You Have selected manual option,Press Right Arrow key to Continue");
    EXPECT_EQ(ws.Shown()[0].owner, nullptr);
    EXPECT_EQ(ws.Shown()[0].type, UINT{MB_OK});
    EXPECT_EQ(clock.Users(), 0);
    ws.Reset();

    SendKey(Qt::Key_Right);
    EXPECT_EQ(Shown(), "a");
    SendKey(Qt::Key_Right);
    EXPECT_EQ(Shown(), "b");
    ws.QueueMessageBoxAnswer(IDCANCEL);
    SendKey(Qt::Key_Right);  // asks; Cancel changes nothing
    ws.QueueMessageBoxAnswer(IDOK);
    SendKey(Qt::Key_Right);  // asks again; OK goes back to the start
    EXPECT_EQ(Shown(), "b");
    SendKey(Qt::Key_Right);
    EXPECT_EQ(Shown(), "a");
    const auto asked = ws.Shown(DialogKind::MessageBox);
    ASSERT_EQ(asked.size(), 2u);
    for (const ShownDialog& q : asked) {
        EXPECT_EQ(q.text, "You have reached end of the show,Would you like to continue");
        EXPECT_EQ(q.owner, &frame);
        EXPECT_EQ(q.shownCaption, kAppTitle);
        EXPECT_EQ(q.type, UINT{MB_OKCANCEL});
    }

    // A position beyond a list that became shorter is the end of the show.
    g_nSlidePos = 5;
    ws.QueueMessageBoxAnswer(IDOK);
    SendKey(Qt::Key_Right);
    EXPECT_EQ(g_nSlidePos, 0);
    EXPECT_EQ(ws.Shown(DialogKind::MessageBox).size(), 3u);

    // In the automatic mode the Right arrow does nothing for the show.
    g_bSlideAuto = 1;
    SendKey(Qt::Key_Right);
    EXPECT_EQ(g_nSlidePos, 0);
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
    EXPECT_EQ(Pixel(300, 300), kYellow);  // the new rectangle is under the slide, its band gone
}

TEST_F(SlideShowTest, EndingTheShowsWakesAWorkerInTheMiddleOfALongWait)
{
    // The real clock: a show that waits a day still ends when the window goes.
    SetSlideClock(nullptr);
    g_nSlideDelay = 86400;
    Play({a});
    EndSlideShows();
    EXPECT_EQ(RunningSlideShows(), 0);
}

TEST_F(SlideShowTest, ShowsStartedAndStoppedWhileTheListIsRefilledStayConsistent)
{
    // Many workers on the real clock, looping without delay, while the list
    // they were started from is refilled and emptied under them.
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
}

}  // namespace
