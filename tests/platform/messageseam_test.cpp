#include "messageseam.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtConcurrent>

#include <gtest/gtest.h>

using namespace qv;

namespace {

class MessageSeamTest : public ::testing::Test
{
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset()
    {
        MessageSeam::clear();
        MessageSeam::setAutoAnswer(mrNone);
        MessageSeam::setInspector(nullptr);
        MessageSeam::setAnswerFunction(nullptr);
    }
};

// What the real dialog looked like once its event loop was running.
struct Seen
{
    QString title;
    QStringList captions; // in layout order
    QString focused;
    QString defaultName;
    QStringList tabChain; // from the focused button on, buttons only
};

QList<QPushButton *> buttonsInOrder(QMessageBox *box)
{
    QList<QPushButton *> list;
    for (QAbstractButton *b : box->buttons())
        if (auto *pb = qobject_cast<QPushButton *>(b))
            list.append(pb);
    std::sort(list.begin(), list.end(), [](QPushButton *a, QPushButton *b) {
        return a->mapTo(a->window(), QPoint()).x() < b->mapTo(b->window(), QPoint()).x();
    });
    return list;
}

// Looks at the shown dialog from inside its own loop, then presses `press`.
void inspectAndPress(Seen &seen, const QString &press)
{
    MessageSeam::setInspector([&seen, press](QMessageBox *box) {
        QTimer::singleShot(0, box, [box, &seen, press] {
            seen.title = box->windowTitle();
            const auto buttons = buttonsInOrder(box);
            for (QPushButton *b : buttons) {
                seen.captions.append(b->text());
                if (b->isDefault())
                    seen.defaultName = b->objectName();
            }
            // Offscreen windows are never active; the box still knows its focus.
            QWidget *focus = box->focusWidget();
            seen.focused = focus ? focus->objectName() : QString();
            QWidget *w = focus;
            for (int i = 0; w && i < 20 && seen.tabChain.size() < buttons.size(); ++i) {
                if (qobject_cast<QPushButton *>(w) && !seen.tabChain.contains(w->objectName()))
                    seen.tabChain.append(w->objectName());
                w = w->nextInFocusChain();
            }
            auto *target = box->findChild<QPushButton *>(press);
            ASSERT_NE(target, nullptr) << press.toStdString();
            target->click();
        });
    });
}

} // namespace

TEST_F(MessageSeamTest, QuestionYesNoDefaultYesShowsEvetFocusedBesideHayir)
{
    Seen seen;
    inspectAndPress(seen, QStringLiteral("No"));
    const int result = MessageSeam::messageDialog(
        QStringLiteral("Silinsin mi?"), DialogKind::Question, buttonSet({mbYes, mbNo}), mbYes);
    EXPECT_EQ(result, mrNo);
    EXPECT_EQ(seen.title, QStringLiteral("Soru"));
    EXPECT_EQ(seen.captions, (QStringList{QStringLiteral("Evet"), QStringLiteral("Hayır")}));
    EXPECT_EQ(seen.focused, QStringLiteral("Yes"));
    EXPECT_EQ(seen.defaultName, QStringLiteral("Yes"));
}

TEST_F(MessageSeamTest, DefaultButtonComesFirstInTabOrderWithoutMoving)
{
    Seen seen;
    inspectAndPress(seen, QStringLiteral("Retry"));
    const int result = MessageSeam::messageDialog(
        QStringLiteral("x"), DialogKind::Warning, buttonSet({mbAbort, mbRetry, mbIgnore}), mbRetry);
    EXPECT_EQ(result, mrRetry);
    EXPECT_EQ(
        seen.captions,
        (QStringList{QStringLiteral("İptal"), QStringLiteral("Tekrar"), QStringLiteral("Atla")}));
    EXPECT_EQ(seen.focused, QStringLiteral("Retry"));
    EXPECT_EQ(
        seen.tabChain,
        (QStringList{QStringLiteral("Retry"), QStringLiteral("Abort"), QStringLiteral("Ignore")}));
}

TEST_F(MessageSeamTest, EveryButtonHasItsCaptionAndResult)
{
    struct Case
    {
        int button;
        const char *name;
        const char *caption;
        int result;
    };
    const Case cases[] = {
        {mbYes, "Yes", "Evet", mrYes},
        {mbNo, "No", "Hayır", mrNo},
        {mbOK, "OK", "Tamam", mrOk},
        {mbCancel, "Cancel", "Vazgeç", mrCancel},
        {mbAbort, "Abort", "İptal", mrAbort},
        {mbRetry, "Retry", "Tekrar", mrRetry},
        {mbIgnore, "Ignore", "Atla", mrIgnore},
        {mbAll, "All", "Tümü", mrAll},
        {mbNoToAll, "NoToAll", "Tümüne Hayır", mrNoToAll},
        {mbYesToAll, "YesToAll", "Tümüne Evet", mrYesToAll},
        {mbHelp, "Help", "Yardım", mrHelp},
    };
    DialogButtons all = 0;
    QStringList expected;
    for (const Case &c : cases) {
        all |= buttonSet({c.button});
        expected.append(QString::fromUtf8(c.caption));
    }
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Seen seen;
        inspectAndPress(seen, QString::fromLatin1(c.name));
        EXPECT_EQ(MessageSeam::messageDialog(QStringLiteral("x"), DialogKind::Information, all, -1),
                  c.result);
        EXPECT_EQ(seen.captions, expected);
    }
}

TEST_F(MessageSeamTest, TitlePerKind)
{
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Quorvel Otomotiv B2B"));
    struct Case
    {
        DialogKind kind;
        const char *title;
    };
    const Case cases[] = {
        {DialogKind::Warning, "Uyarı"},
        {DialogKind::Error, "Hata"},
        {DialogKind::Information, "Bilgi"},
        {DialogKind::Question, "Soru"},
        {DialogKind::Custom, "Quorvel Otomotiv B2B"},
        {static_cast<DialogKind>(7), "Quorvel Otomotiv B2B"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        Seen seen;
        inspectAndPress(seen, QStringLiteral("OK"));
        MessageSeam::messageDialog(QStringLiteral("x"), c.kind, buttonSet({mbOK}), mbOK);
        EXPECT_EQ(seen.title, QString::fromUtf8(c.title));
        EXPECT_EQ(MessageSeam::shown().last().title, QString::fromUtf8(c.title));
    }
}

TEST_F(MessageSeamTest, DefaultThatIsNoButtonMovesNothing)
{
    // Not in the set, "All", and beyond "Help".
    for (int def : {int(mbCancel), int(mbAll), 11, 42}) {
        SCOPED_TRACE(def);
        Seen seen;
        QStringList captions;
        bool anyDefault = true;
        MessageSeam::setInspector([&](QMessageBox *box) {
            anyDefault = box->defaultButton() != nullptr;
            for (QPushButton *b : buttonsInOrder(box))
                captions.append(b->text());
            QTimer::singleShot(0, box, [box] { box->findChild<QPushButton *>("No")->click(); });
        });
        EXPECT_EQ(
            MessageSeam::messageDialog(
                QStringLiteral("x"), DialogKind::Question, buttonSet({mbYes, mbNo, mbAll}), def),
            mrNo);
        EXPECT_FALSE(anyDefault);
        EXPECT_EQ(
            captions,
            (QStringList{QStringLiteral("Evet"), QStringLiteral("Hayır"), QStringLiteral("Tümü")}));
    }
}

TEST_F(MessageSeamTest, PlainMessageHasOneOkAndTheApplicationTitle)
{
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Quorvel Otomotiv B2B"));
    Seen seen;
    inspectAndPress(seen, QStringLiteral("OK"));
    MessageSeam::showMessage(QStringLiteral("Connection refused"));
    EXPECT_EQ(seen.title, QStringLiteral("Quorvel Otomotiv B2B"));
    EXPECT_EQ(seen.captions, QStringList{QStringLiteral("OK")});
    ASSERT_EQ(MessageSeam::shown().size(), 1);
    const DialogRecord r = MessageSeam::shown().first();
    EXPECT_TRUE(r.plain);
    EXPECT_EQ(r.text, QStringLiteral("Connection refused"));
}

TEST_F(MessageSeamTest, QueuedAnswersComeBeforeTheAutoAnswerAndAreRecorded)
{
    MessageSeam::setInspector([](QMessageBox *) { FAIL() << "no real dialog expected"; });
    MessageSeam::pushAnswer(mrNo);
    MessageSeam::pushAnswer(mrCancel);
    MessageSeam::setAutoAnswer(mrYes);
    const auto ask = [](const char *text) {
        return MessageSeam::messageDialog(QString::fromUtf8(text),
                                          DialogKind::Question,
                                          buttonSet({mbYes, mbNo, mbCancel}),
                                          mbNo);
    };
    EXPECT_EQ(ask("a"), mrNo);
    EXPECT_EQ(ask("b"), mrCancel);
    EXPECT_EQ(ask("c"), mrYes);
    const auto records = MessageSeam::shown();
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[1].text, QStringLiteral("b"));
    EXPECT_EQ(records[1].kind, 3);
    EXPECT_EQ(records[1].buttons, buttonSet({mbYes, mbNo, mbCancel}));
    EXPECT_EQ(records[1].defaultButton, mbNo);
    EXPECT_EQ(records[1].title, QStringLiteral("Soru"));
    EXPECT_FALSE(records[1].plain);

    MessageSeam::clear();
    EXPECT_TRUE(MessageSeam::shown().isEmpty());
}

TEST_F(MessageSeamTest, CallsFromAWorkerAreHandedToTheUiThread)
{
    Seen seen;
    QThread *dialogThread = nullptr;
    MessageSeam::setInspector([&](QMessageBox *box) {
        dialogThread = QThread::currentThread();
        QTimer::singleShot(0, box, [box] { box->findChild<QPushButton *>("OK")->click(); });
    });
    auto future = QtConcurrent::run([] {
        MessageSeam::showMessage(QStringLiteral("plain"));
        return MessageSeam::messageDialog(
            QStringLiteral("dialog"), DialogKind::Error, buttonSet({mbOK}), mbOK);
    });
    while (!future.isFinished())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(future.result(), mrOk);
    EXPECT_EQ(dialogThread, qApp->thread());
    const auto records = MessageSeam::shown();
    ASSERT_EQ(records.size(), 2);
    EXPECT_TRUE(records[0].uiThread);
    EXPECT_TRUE(records[1].uiThread);
}

TEST_F(MessageSeamTest, DefaultErrorDisplayShowsTheMessageAsAnError)
{
    MessageSeam::setAutoAnswer(mrOk);
    showDefaultError(std::runtime_error("Sunucu hatası"));
    ASSERT_EQ(MessageSeam::shown().size(), 1);
    const DialogRecord r = MessageSeam::shown().first();
    EXPECT_EQ(r.text, QStringLiteral("Sunucu hatası"));
    EXPECT_EQ(r.kind, 1);
    EXPECT_EQ(r.buttons, buttonSet({mbOK}));
}

TEST_F(MessageSeamTest, DialogFontSizeIsProcessWide)
{
    struct Case
    {
        bool pixels;
        int size;
    };
    for (const Case c : {Case{true, 15}, Case{false, 15}, Case{true, 20}}) {
        SCOPED_TRACE(c.size);
        if (c.pixels)
            MessageSeam::setFontPixelSize(c.size);
        else
            MessageSeam::setFontPointSize(c.size);
        int seen = 0;
        MessageSeam::setInspector([&](QMessageBox *box) {
            seen = c.pixels ? box->font().pixelSize() : box->font().pointSize();
            QTimer::singleShot(0, box, [box] { box->findChild<QPushButton *>("OK")->click(); });
        });
        MessageSeam::showMessage(QStringLiteral("x"));
        EXPECT_EQ(seen, c.size);
    }
    MessageSeam::setFontPixelSize(0);
}
