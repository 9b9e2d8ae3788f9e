// The slides dialog and the settings dialog, driven as a user drives them:
// the list they fill, the settings they store and refuse, and the manual
// steps the slides dialog takes from its own keys and clicks.
#include "slideshow/SlideShowFixture.h"

#include "resources/DialogTemplates.h"
#include "resources/ResourceIds.h"
#include "slideshow/SettingCombo.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace {

class SlidesDialogTest : public SlideShowTest {
protected:
    // Runs Format > SlideShow with the dialog answered by `steps`.
    QStringList SlidesDialog(std::initializer_list<ModalDialogScript::Step> steps)
    {
        ModalDialogScript script;
        for (const auto& step : steps)
            script.Then(step);
        frame.OnCommand(ID_FORMAT_SLIDESHOW);
        return script.Shown();
    }
    static QStringList ComboEntries(const CDialog& d)
    {
        QStringList entries;
        const auto* combo = d.GetDlgItemAs<QComboBox>(IDC_SLIDES_LIST);
        for (int i = 0; i < combo->count(); ++i)
            entries << combo->itemText(i);
        return entries;
    }
};

TEST_F(SlidesDialogTest, PicturesAreListedSortedAndShownInTheOrderOfAdding)
{
    const QString cc = Picture("c.bmp", 8, 8, kCyan), aa = Picture("a.bmp", 8, 8, kYellow),
                  bb = Picture("b.bmp", 8, 8, kMagenta);
    g_astrSlides = {aa};  // left from an earlier showing
    g_nSlidePos = 1;
    const QStringList shown = SlidesDialog({[&](CDialog& d) {
        EXPECT_TRUE(g_astrSlides.isEmpty());
        EXPECT_EQ(g_nSlidePos, 1);
        for (const QString& file : {cc, aa, bb}) {
            ws.QueueOpenFiles({file});
            d.SendCommand(IDC_SLIDES_BROWSE);
        }
        ws.QueueOpenFiles({});  // a cancelled choice adds nothing
        d.SendCommand(IDC_SLIDES_BROWSE);
        EXPECT_EQ(ComboEntries(d), (QStringList{aa, bb, cc}));
        EXPECT_EQ(g_astrSlides, (QStringList{cc, aa, bb}));
        d.SendCommand(IDC_SLIDES_PLAY);
        EXPECT_TRUE(d.IsEnded());
    }});
    EXPECT_EQ(shown, QStringList{"SlidesDialog"});
    const auto chooser = ws.Shown(DialogKind::OpenFile);
    ASSERT_EQ(chooser.size(), 4u);
    EXPECT_TRUE(chooser[0].multiSelect);
    EXPECT_EQ(chooser[0].filter, kBitmapFilter);
    EXPECT_EQ(chooser[0].owner, nullptr);
    EXPECT_EQ(Timeline(), (Times{{0, "c"}, {1000, "a"}, {2000, "b"}, {3000, "end"}}));

    // The next showing starts empty, so Play at once reports an empty list;
    // a multiple choice adds every file, duplicates too, in the order given.
    ws.Reset();
    SlidesDialog({[](CDialog& d) { d.SendCommand(IDC_SLIDES_PLAY); }});
    Settle();
    const auto messages = ws.Shown(DialogKind::MessageBox);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "No picture selected");
    EXPECT_EQ(messages[0].owner, nullptr);
    EXPECT_EQ(messages[0].type, UINT{MB_OKCANCEL});
    SlidesDialog({[&](CDialog& d) {
        ws.QueueOpenFiles({bb, aa, bb});
        d.SendCommand(IDC_SLIDES_BROWSE);
        d.SendCommand(IDOK);
    }});
    EXPECT_EQ(g_astrSlides, (QStringList{bb, aa, bb}));
}

TEST_F(SlidesDialogTest, TheSettingsStartAtOneAndRefuseADelayOfNothing)
{
    g_nSlideDelay = 5;
    g_bSlideAuto = 0;
    g_bSlideLoop = 1;
    // "Advanced..." opens the settings over the slides dialog.
    const QStringList shown = SlidesDialog({
        [](CDialog& d) { d.SendCommand(IDC_SLIDES_ADVANCED); },
        [](CDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_SETTING_DELAY), "1");
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_SETTING_MANUAL), BST_CHECKED);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_SETTING_AUTO), BST_UNCHECKED);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_SETTING_LOOP), BST_CHECKED);
            EXPECT_EQ(d.Window()->focusWidget(), d.GetDlgItem(IDOK));
            d.SendCommand(IDOK);
            EXPECT_TRUE(d.IsEnded());
        },
    });
    EXPECT_EQ(shown, (QStringList{"SlidesDialog", "SettingCombo"}));
    EXPECT_EQ(g_nSlideDelay, 1);

    // Letters cannot be typed; nothing, 0 or 00 are refused, the settings
    // stored all the same; Cancel then keeps them.
    ModalDialogScript script;
    script.Then([&](CDialog& d) {
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
    CSettingCombo settings(&frame);
    EXPECT_EQ(settings.DoModal(), IDCANCEL);
    const auto refusals = ws.Shown(DialogKind::MessageBox);
    ASSERT_EQ(refusals.size(), 3u);
    EXPECT_EQ(refusals[0].text, "Plz increase the delay");
    EXPECT_EQ(refusals[0].owner, settings.Window());
    EXPECT_EQ(refusals[0].shownCaption, kAppTitle);
    EXPECT_EQ(g_nSlideDelay, 0);
    EXPECT_EQ(g_bSlideAuto, 1);
    EXPECT_EQ(g_bSlideLoop, 0);

    // A delay of 0 changes pictures without waiting.
    Play({a, b, c});
    EXPECT_EQ(Timeline(), (Times{{0, "c"}, {0, "end"}}));
}

TEST_F(SlidesDialogTest, InAManualShowItsOwnKeysAndClicksStepPastPicturesWithoutShowingThem)
{
    g_bSlideAuto = 0;
    g_nSlidePos = 0;
    const QImage before = Canvas();
    SlidesDialog({[&](CDialog& d) {
        ws.QueueOpenFiles({a, b});
        d.SendCommand(IDC_SLIDES_BROWSE);
        auto* stop = d.GetDlgItemAs<QPushButton>(IDC_SLIDES_STOP);
        stop->setFocus();
        QTest::keyClick(stop, Qt::Key_A);  // no control takes it
        EXPECT_EQ(g_nSlidePos, 1);
        QTest::mouseClick(d.Window(), Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_EQ(g_nSlidePos, 2);
        ws.QueueMessageBoxAnswer(IDOK);
        QTest::keyClick(stop, Qt::Key_B);
        EXPECT_EQ(g_nSlidePos, 0);
        const auto asked = ws.Shown(DialogKind::MessageBox);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].text, "You have reached end of the show,Would you like to continue");
        EXPECT_EQ(asked[0].owner, d.Window());
        QTest::keyClick(stop, Qt::Key_Escape);  // closes the dialog, no step
        EXPECT_TRUE(d.IsEnded());
        EXPECT_EQ(g_nSlidePos, 0);
    }});
    EXPECT_EQ(Canvas(), before);

    // In the automatic mode neither steps.
    g_bSlideAuto = 1;
    SlidesDialog({[&](CDialog& d) {
        QTest::mouseClick(d.Window(), Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_EQ(g_nSlidePos, 0);
        d.SendCommand(IDCANCEL);
    }});
}

}  // namespace
