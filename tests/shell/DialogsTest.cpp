// The close question and the error display: their texts, buttons, keys and owners.
#include <QApplication>
#include <QDialogButtonBox>
#include <QLocale>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QTest>
#include <algorithm>
#include <memory>

#include "AppTitle.h"
#include "CloseQuestion.h"
#include "ErrorDisplay.h"
#include "ModalAnswer.h"
#include "QtTranslations.h"

using velmora::AskCloseQuestion;
using velmora::ShowError;
using velmora::testing::ModalAnswer;

namespace {

/// A style that lays dialog buttons out the way a given desktop does.
class ButtonLayoutStyle : public QProxyStyle {
  public:
    ButtonLayoutStyle(QDialogButtonBox::ButtonLayout layout)
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), layout_(layout) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_DialogButtonLayout)
            return layout_;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }

  private:
    QDialogButtonBox::ButtonLayout layout_;
};

/// The box's push buttons from left to right.
QList<QPushButton*> ButtonsLeftToRight(QMessageBox& box) {
    QList<QPushButton*> buttons;
    for (QPushButton* b : box.findChildren<QPushButton*>())
        if (b->isVisible())
            buttons.push_back(b);
    std::sort(buttons.begin(), buttons.end(), [&](QPushButton* a, QPushButton* b) {
        return a->mapTo(&box, QPoint()).x() < b->mapTo(&box, QPoint()).x();
    });
    return buttons;
}

QStringList Texts(const QList<QPushButton*>& buttons) {
    QStringList texts;
    for (QPushButton* b : buttons)
        texts.push_back(b->text());
    return texts;
}

QPushButton* Button(QMessageBox& box, const QString& text) {
    for (QPushButton* b : ButtonsLeftToRight(box))
        if (b->text() == text)
            return b;
    return nullptr;
}

/// A fixed dialog frame: a title with a close button, no minimise or maximise button, kept
/// above the side windows.
bool DialogFrameAboveAll(const QMessageBox& box) {
    const Qt::WindowFlags flags = box.windowFlags();
    return flags.testFlag(Qt::WindowCloseButtonHint) && flags.testFlag(Qt::WindowTitleHint) &&
           !flags.testFlag(Qt::WindowMinimizeButtonHint) &&
           !flags.testFlag(Qt::WindowMaximizeButtonHint) &&
           flags.testFlag(Qt::WindowStaysOnTopHint) && box.minimumSize() == box.maximumSize();
}

enum class Answer { ClickOk, Enter, KeypadEnter, ClickCancel, Escape, CloseButton };

void Give(QMessageBox& box, Answer answer) {
    QWidget* focus = box.focusWidget();
    switch (answer) {
        case Answer::ClickOk:
            QTest::mouseClick(Button(box, QStringLiteral("OK")), Qt::LeftButton);
            break;
        case Answer::Enter:
            QTest::keyClick(focus, Qt::Key_Return);
            break;
        case Answer::KeypadEnter:
            QTest::keyClick(focus, Qt::Key_Enter, Qt::KeypadModifier);
            break;
        case Answer::ClickCancel:
            QTest::mouseClick(Button(box, QStringLiteral("Cancel")), Qt::LeftButton);
            break;
        case Answer::Escape:
            QTest::keyClick(focus, Qt::Key_Escape);
            break;
        case Answer::CloseButton:
            box.close();
            break;
    }
}

}  // namespace

Q_DECLARE_METATYPE(Answer)

class DialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        velmora::InstallApplicationTitle();
        velmora::LoadQtTranslations(QLocale());
        owner_ = std::make_unique<QWidget>();
        owner_->resize(400, 300);
        owner_->show();
    }
    void init() {
        owner_->show();
        owner_->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), owner_.get());
    }
    void cleanupTestCase() { owner_.reset(); }

    void CloseQuestionFrameIsCentredOnThePrimaryScreen() {
        QRect frame, client;
        ModalAnswer answer([&](QMessageBox& box) {
            QTest::qWait(100);  // the box is centred again once its frame is known
            frame = box.frameGeometry();
            client = box.geometry();
            Give(box, Answer::Escape);
        });
        AskCloseQuestion(owner_.get());
        QVERIFY(answer.answered());
        QVERIFY(frame != client);  // the platform frames the box
        const QPoint screen = QGuiApplication::primaryScreen()->geometry().center();
        QVERIFY2((frame.center() - screen).manhattanLength() <= 1,
                 qPrintable(QStringLiteral("frame centre %1,%2")
                                .arg(frame.center().x())
                                .arg(frame.center().y())));
    }

    void CloseQuestionLooksAsAsked() {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons;
        bool okDefaultWithFocus = false, cancelOnEscape = false, equalWidths = false;
        bool modal = false, frame = false;
        QWidget* parent = nullptr;
        ModalAnswer answer([&](QMessageBox& box) {
            title = box.windowTitle();
            text = box.text();
            icon = box.icon();
            const QList<QPushButton*> row = ButtonsLeftToRight(box);
            buttons = Texts(row);
            QPushButton* ok = Button(box, QStringLiteral("OK"));
            okDefaultWithFocus =
                box.defaultButton() == ok && ok->isDefault() && box.focusWidget() == ok;
            cancelOnEscape = box.escapeButton() == Button(box, QStringLiteral("Cancel"));
            equalWidths = row.size() == 2 && row[0]->width() == row[1]->width();
            modal = box.windowModality() == Qt::ApplicationModal;
            frame = DialogFrameAboveAll(box);
            parent = box.parentWidget();
            Give(box, Answer::ClickCancel);
        });
        AskCloseQuestion(owner_.get());
        QVERIFY(answer.answered());
        QCOMPARE(title, QStringLiteral("Confirm"));
        QCOMPARE(text, QStringLiteral("Do you want to close this program?"));
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(buttons, QStringList({"OK", "Cancel"}));
        QVERIFY(okDefaultWithFocus);
        QVERIFY(cancelOnEscape);
        QVERIFY(equalWidths);
        QVERIFY(modal);
        QVERIFY(frame);
        QCOMPARE(parent, owner_.get());
    }

    void CloseQuestionAnswers_data() {
        QTest::addColumn<Answer>("given");
        QTest::addColumn<bool>("yes");
        QTest::newRow("OK clicked") << Answer::ClickOk << true;
        QTest::newRow("Enter") << Answer::Enter << true;
        QTest::newRow("keypad Enter") << Answer::KeypadEnter << true;
        QTest::newRow("Cancel clicked") << Answer::ClickCancel << false;
        QTest::newRow("Escape") << Answer::Escape << false;
        QTest::newRow("close button") << Answer::CloseButton << false;
    }
    void CloseQuestionAnswers() {
        QFETCH(Answer, given);
        QFETCH(bool, yes);
        ModalAnswer answer([&](QMessageBox& box) { Give(box, given); });
        QCOMPARE(AskCloseQuestion(owner_.get()), yes);
        QVERIFY(answer.answered());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void CloseQuestionKeepsButtonOrderOnEveryDesktop_data() {
        QTest::addColumn<QDialogButtonBox::ButtonLayout>("layout");
        QTest::newRow("Windows") << QDialogButtonBox::WinLayout;
        QTest::newRow("macOS") << QDialogButtonBox::MacLayout;
        QTest::newRow("KDE") << QDialogButtonBox::KdeLayout;
        QTest::newRow("GNOME") << QDialogButtonBox::GnomeLayout;
        QTest::newRow("Android") << QDialogButtonBox::AndroidLayout;
    }
    void CloseQuestionKeepsButtonOrderOnEveryDesktop() {
        QFETCH(QDialogButtonBox::ButtonLayout, layout);
        const QString original = QApplication::style()->name();
        QApplication::setStyle(new ButtonLayoutStyle(layout));
        QStringList buttons;
        ModalAnswer answer([&](QMessageBox& box) {
            buttons = Texts(ButtonsLeftToRight(box));
            Give(box, Answer::Escape);
        });
        const bool yes = AskCloseQuestion(owner_.get());
        QApplication::setStyle(original);
        QVERIFY(answer.answered());
        QCOMPARE(buttons, QStringList({"OK", "Cancel"}));
        QVERIFY(!yes);
    }

    void ErrorBoxShowsTheMessage_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("conversion error") << "'abc' is not a valid floating point value"
                                          << "'abc' is not a valid floating point value.";
        QTest::newRow("ends in a period") << "Cannot open clipboard."
                                          << "Cannot open clipboard.";
        QTest::newRow("ends in a blank") << "Stopped "
                                         << "Stopped ";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("Cyrillic") << "Ошибка"
                                  << "Ошибка.";
        // A box of at most 1000 characters: a longer message shows its first 699 and its
        // last 300 characters, joined by "…", without halving a character of two code units.
        const QString quoted = u'\'' + QString(961, u'ж') + u'\'';
        const QString error = QStringLiteral(" is not a valid floating point value");
        QTest::newRow("1000 characters with the period, whole")
            << quoted + error << quoted + error + u'.';
        const QString pasted = QString(1 << 20, u'a');
        QTest::newRow("a pasted megabyte quoted: its beginning and its end")
            << u'\'' + pasted + u'\'' + error
            << u'\'' + pasted.left(698) + u'…' + pasted.left(262) + u'\'' + error + u'.';
        const QString pairs = QString(698, u'a') + QStringLiteral("𝑥") + QString(2000, u'b') +
                              QStringLiteral("𝑥") + QString(298, u'c');
        QTest::newRow("letters of two code units at both cuts")
            << pairs << QString(698, u'a') + u'…' + QString(298, u'c') + u'.';
    }
    void ErrorBoxShowsTheMessage() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QString text;
        ModalAnswer answer([&](QMessageBox& box) {
            text = box.text();
            Give(box, Answer::Enter);
        });
        ShowError(message);
        QVERIFY(answer.answered());
        QCOMPARE(text, shown);
    }

    void ErrorBoxIsModalWithTitleIconAndOneOk() {
        QString title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons;
        QWidget* parent = nullptr;
        bool modal = false, plainText = false, frame = false;
        ModalAnswer answer([&](QMessageBox& box) {
            title = box.windowTitle();
            icon = box.icon();
            buttons = Texts(ButtonsLeftToRight(box));
            parent = box.parentWidget();
            modal = box.windowModality() == Qt::ApplicationModal;
            plainText = box.textFormat() == Qt::PlainText;
            frame = DialogFrameAboveAll(box);
            Give(box, Answer::ClickOk);
        });
        ShowError(QStringLiteral("<b>x</b>"));
        QVERIFY(answer.answered());
        QCOMPARE(title, QStringLiteral("dialogs_tests"));
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(buttons, QStringList({"OK"}));
        QCOMPARE(parent, owner_.get());
        QVERIFY(modal);
        QVERIFY(plainText);
        QVERIFY(frame);
    }

    void ErrorBoxCloses_data() {
        QTest::addColumn<Answer>("given");
        QTest::newRow("OK clicked") << Answer::ClickOk;
        QTest::newRow("Enter") << Answer::Enter;
        QTest::newRow("Escape") << Answer::Escape;
        QTest::newRow("close button") << Answer::CloseButton;
    }
    void ErrorBoxCloses() {
        QFETCH(Answer, given);
        ModalAnswer answer([&](QMessageBox& box) { Give(box, given); });
        ShowError(QStringLiteral("Floating point division by zero"));
        QVERIFY(answer.answered());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QTRY_COMPARE(QApplication::activeWindow(), owner_.get());
    }

    void ErrorBoxCancelsAMouseGrab() {
        owner_->grabMouse();
        QCOMPARE(QWidget::mouseGrabber(), owner_.get());
        QWidget* grabberDuringBox = owner_.get();
        ModalAnswer answer([&](QMessageBox& box) {
            grabberDuringBox = QWidget::mouseGrabber();
            Give(box, Answer::Enter);
        });
        ShowError(QStringLiteral("Invalid floating point operation"));
        QVERIFY(answer.answered());
        QCOMPARE(grabberDuringBox, nullptr);
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
    }

    void ErrorBoxWithoutActiveWindowHasNoOwner() {
        owner_->hide();
        QTRY_COMPARE(QApplication::activeWindow(), nullptr);
        QWidget* parent = owner_.get();
        ModalAnswer answer([&](QMessageBox& box) {
            parent = box.parentWidget();
            Give(box, Answer::Enter);
        });
        ShowError(QStringLiteral("Floating point overflow"));
        QVERIFY(answer.answered());
        QCOMPARE(parent, nullptr);
    }

  private:
    std::unique_ptr<QWidget> owner_;
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
