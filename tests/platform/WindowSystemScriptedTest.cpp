// The scripted window system: answers in order per kind of dialog, cancels
// when its script runs out, and records what it was shown.
#include "platform/ScriptedWindowSystem.h"
#include "platform/WindowSystemUtil.h"

#include <QWidget>
#include <gtest/gtest.h>

TEST(WindowSystemScripted, QuestionsTakeTheAnswersInOrderThenCancelAndEveryMessageIsRecorded)
{
    ScriptedWindowSystem ws;
    for (const int answer : {IDOK, IDCANCEL, 7})
        ws.QueueMessageBoxAnswer(answer);
    QWidget main;
    // A box with only OK uses no answer.
    EXPECT_EQ(ws.MessageBox(&main, QStringLiteral("Plz increase the delay"), {}, MB_OK | MB_ICONEXCLAMATION), IDOK);
    EXPECT_EQ(ws.MessageBox(nullptr, QStringLiteral("q1"), QString(), MB_OKCANCEL | MB_ICONQUESTION), IDOK);
    EXPECT_EQ(ws.MessageBox(nullptr, QStringLiteral("q2"), QString(), MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(ws.MessageBox(nullptr, QStringLiteral("q3"), QString(), MB_OKCANCEL), IDCANCEL);  // 7 is no IDOK
    EXPECT_EQ(ws.MessageBox(nullptr, QStringLiteral("q4"), QString(), MB_OKCANCEL), IDCANCEL);  // none left
    EXPECT_EQ(ws.MessageTexts(), (QStringList{"Plz increase the delay", "q1", "q2", "q3", "q4"}));
    const auto shown = ws.Shown();
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0].owner, &main);
    EXPECT_EQ(shown[0].shownCaption, kAppTitle);
    EXPECT_EQ(shown[0].type, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(shown[1].shownCaption, QStringLiteral("Error"));
}

TEST(WindowSystemScripted, ChoosersTakeTheirAnswersInOrderThenCancel)
{
    ScriptedWindowSystem ws;
    const QStringList tooLong{QStringLiteral("/") + QString(300, QLatin1Char('a'))};  // for the file-name buffer
    for (const QStringList& files : {QStringList{"/p/c.bmp", "/p/a.bmp"}, tooLong, QStringList{"/p/b.bmp", "/p/d.bmp"}})
        ws.QueueOpenFiles(files);
    ws.QueueSaveFile(QStringLiteral("/tmp/out.bmp"));
    ws.QueueColor(0xFF123456u);
    const LOGFONT chosen{.lfHeight = -21, .lfWeight = FW_BOLD};
    ws.QueueFont(chosen);

    EXPECT_EQ(ws.GetOpenFileNames(nullptr, kBitmapFilter, true), (QStringList{"/p/c.bmp", "/p/a.bmp"}));
    EXPECT_EQ(ws.GetOpenFileNames(nullptr, kBitmapFilter, true), QStringList{});
    EXPECT_EQ(ws.GetOpenFileNames(nullptr, kBitmapFilter, false), QStringList{"/p/b.bmp"});  // a single choice
    EXPECT_EQ(ws.GetSaveFileName(nullptr, kBitmapFilter, QStringLiteral("bmp")), QStringLiteral("/tmp/out.bmp"));
    EXPECT_EQ(ws.ChooseColor(nullptr, RGB(1, 2, 3)), std::optional<COLORREF>(0x00123456u));  // RGB only
    LOGFONT lf{};
    EXPECT_TRUE(ws.ChooseFont(nullptr, lf));
    EXPECT_EQ(lf, chosen);
    // The script has run out: every kind cancels, and the font is left alone.
    EXPECT_EQ(ws.GetOpenFileNames(nullptr, kBitmapFilter, false), QStringList{});
    EXPECT_EQ(ws.GetSaveFileName(nullptr, kBitmapFilter, QStringLiteral("bmp")), std::nullopt);
    EXPECT_EQ(ws.ChooseColor(nullptr, 0), std::nullopt);
    EXPECT_FALSE(ws.ChooseFont(nullptr, lf));
    EXPECT_EQ(lf, chosen);

    const auto opens = ws.Shown(DialogKind::OpenFile);
    ASSERT_EQ(opens.size(), 4u);
    EXPECT_EQ(opens[0].filter, kBitmapFilter);
    EXPECT_EQ((std::vector{opens[0].result, opens[1].result, opens[2].result, opens[3].result}),
              (std::vector{IDOK, IDCANCEL, IDOK, IDCANCEL}));
    EXPECT_EQ(ws.Shown(DialogKind::SaveFile).at(0).defaultExt, QStringLiteral("bmp"));
    EXPECT_EQ(ws.Shown(DialogKind::Font).at(1).initialFont, chosen);
}
