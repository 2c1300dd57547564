// The program as a whole, put together in start-up order under the program's application
// object: the first paint after Reset, the side windows opened from the main window, the
// close question and the error box reached through a failing command.
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "AppTitle.h"
#include "Application.h"
#include "Error.h"
#include "MainWindowFixture.h"
#include "ModalAnswer.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"

namespace velmora::test {
namespace {

using testing::ModalAnswer;

/// The three windows made hidden in start-up order: main window, information, apparatus.
struct Program {
    std::unique_ptr<TForm1> form1 = std::make_unique<TForm1>();
    QPointer<TForm2> form2 = new TForm2(form1.get());
    QPointer<TForm3> form3 = new TForm3(form1.get());

    Program() { form1->SetSideWindows(*form2, *form3); }

    /// Shows the main window as start-up does and waits until it is up and active.
    void Start() {
        form1->show();
        form1->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(form1.get()));
        QTRY_COMPARE(QApplication::activeWindow(), form1.get());
        Settle();
    }
};

/// What the bench looked like when any part of the main window was first painted.
class FirstPaintWatch : public QObject {
  public:
    explicit FirstPaintWatch(const TForm1& form) : form_(form) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    bool painted = false;
    unsigned long long resetsBeforePaint = 0;
    bool fixAngleTickedBeforePaint = false;
    QString stepShownBeforePaint;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!painted && event->type() == QEvent::Paint && widget != nullptr &&
            widget->window() == &form_) {
            painted = true;
            resetsBeforePaint = form_.Lab().Scene().ResetCount();
            fixAngleTickedBeforePaint = Control<QCheckBox>(form_, "CheckBox1")->isChecked();
            stepShownBeforePaint = ShownValue(form_, 1);
        }
        return false;
    }

  private:
    const TForm1& form_;
};

enum class Answer { ClickOk, Enter, ClickCancel, Escape, CloseButton };

void Give(QMessageBox& box, Answer answer) {
    auto button = [&](const char* text) {
        for (QPushButton* b : box.findChildren<QPushButton*>())
            if (b->text() == QLatin1String(text))
                return b;
        qFatal("no button %s", text);
    };
    switch (answer) {
        case Answer::ClickOk:
            QTest::mouseClick(button("OK"), Qt::LeftButton);
            break;
        case Answer::Enter:
            QTest::keyClick(box.focusWidget(), Qt::Key_Return);
            break;
        case Answer::ClickCancel:
            QTest::mouseClick(button("Cancel"), Qt::LeftButton);
            break;
        case Answer::Escape:
            QTest::keyClick(box.focusWidget(), Qt::Key_Escape);
            break;
        case Answer::CloseButton:
            box.close();
            break;
    }
}

/// A window whose showing fails, as a failing show-time Reset would.
class FailingOnShow : public QWidget {
  protected:
    void showEvent(QShowEvent*) override { throw EMathError(u"Floating point overflow"); }
};

}  // namespace
}  // namespace velmora::test

using velmora::test::Answer;
Q_DECLARE_METATYPE(Answer)

namespace velmora::test {

class LifecycleTest : public QObject {
    Q_OBJECT

  private slots:
    void StartUpRunsResetBeforeTheFirstPaintWithSideWindowsHidden() {
        Program program;
        QVERIFY(program.form1->isHidden());
        QVERIFY(program.form2->isHidden());
        QVERIFY(program.form3->isHidden());
        QCOMPARE(program.form1->Lab().Scene().ResetCount(), 0ULL);
        FirstPaintWatch watch(*program.form1);
        program.Start();
        QTRY_VERIFY(watch.painted);
        QCOMPARE(watch.resetsBeforePaint, 1ULL);
        QVERIFY(watch.fixAngleTickedBeforePaint);
        QCOMPARE(watch.stepShownBeforePaint, QStringLiteral("1"));
        QVERIFY(program.form2->isHidden());
        QVERIFY(program.form3->isHidden());
    }

    void AnErrorWhileShowingIsDisplayedAndTheWindowOpens() {
        FailingOnShow window;
        QString text;
        ModalAnswer answer([&](QMessageBox& box) {
            text = box.text();
            Give(box, Answer::ClickOk);
        });
        window.show();
        QVERIFY(answer.answered());
        QCOMPARE(text, QStringLiteral("Floating point overflow."));
        QVERIFY(window.isVisible());
    }

    void SideWindowButtonsShowOneInstanceInFront() {
        Program program;
        program.Start();
        auto* information = Control<QPushButton>(*program.form1, "Button8");
        auto* apparatus = Control<QPushButton>(*program.form1, "Button11");
        Click(information);
        QTRY_COMPARE(QApplication::activeWindow(), program.form2.data());
        Click(information);
        QTRY_COMPARE(QApplication::activeWindow(), program.form2.data());
        Click(apparatus);
        QTRY_COMPARE(QApplication::activeWindow(), program.form3.data());
        QVERIFY(program.form2->isVisible());
        Click(information);  // open behind the apparatus window: brought to the front
        QTRY_COMPARE(QApplication::activeWindow(), program.form2.data());
        QCOMPARE(program.form1->findChildren<TForm2*>().size(), 1);
        QCOMPARE(program.form1->findChildren<TForm3*>().size(), 1);
        QVERIFY(program.form1->isVisible());
    }

    void SideWindowsComeBackWhereTheyWereClosed() {
        Program program;
        program.Start();
        Click(Control<QPushButton>(*program.form1, "Button11"));
        QVERIFY(QTest::qWaitForWindowExposed(program.form3));
        program.form3->move(33, 44);
        ModalAnswer noQuestion([](QMessageBox& box) { Give(box, Answer::ClickCancel); });
        QVERIFY(program.form3->close());
        QVERIFY(program.form3->isHidden());
        QVERIFY(program.form1->isVisible());
        program.form1->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), program.form1.get());
        Click(Control<QPushButton>(*program.form1, "Button11"));
        QVERIFY(program.form3->isVisible());
        QCOMPARE(program.form3->pos(), QPoint(33, 44));
        QTest::qWait(100);
        QVERIFY(!noQuestion.answered());
    }

    void CloseQuestionAnsweredNoKeepsEverything_data() {
        QTest::addColumn<Answer>("given");
        QTest::newRow("Cancel") << Answer::ClickCancel;
        QTest::newRow("Escape") << Answer::Escape;
        QTest::newRow("close button") << Answer::CloseButton;
    }
    void CloseQuestionAnsweredNoKeepsEverything() {
        QFETCH(Answer, given);
        Program program;
        program.Start();
        TForm1& form = *program.form1;
        Click(Control<QPushButton>(form, "Button8"));
        Click(Control<QPushButton>(form, "Button11"));
        TypeValue(form, 1, QStringLiteral("2,5"));
        auto* protocol = Control<QPlainTextEdit>(form, "Memo1");
        protocol->setFocus();
        QTest::keyClicks(protocol, QStringLiteral("Run 1"));
        Click(Control<QPushButton>(form, "Button2"));  // "Сдвиг" by the typed step
        const QString x = ShownValue(form, 2);
        QCOMPARE(x, QStringLiteral("2.5"));

        QString title;
        ModalAnswer answer([&](QMessageBox& box) {
            title = box.windowTitle();
            Give(box, given);
        });
        QVERIFY(!form.close());
        QVERIFY(answer.answered());
        QCOMPARE(title, QStringLiteral("Confirm"));
        QVERIFY(form.isVisible());
        QVERIFY(program.form2->isVisible());
        QVERIFY(program.form3->isVisible());
        QCOMPARE(ShownValue(form, 1), QStringLiteral("2,5"));
        QCOMPARE(ShownValue(form, 2), x);
        QCOMPARE(protocol->toPlainText(), QStringLiteral("Run 1"));
    }

    void CloseQuestionAnsweredOkEndsTheProgram_data() {
        QTest::addColumn<Answer>("given");
        QTest::newRow("OK") << Answer::ClickOk;
        QTest::newRow("Enter") << Answer::Enter;
    }
    void CloseQuestionAnsweredOkEndsTheProgram() {
        QFETCH(Answer, given);
        Program program;
        program.Start();
        Click(Control<QPushButton>(*program.form1, "Button8"));
        ModalAnswer answer([&](QMessageBox& box) { Give(box, given); });
        QTimer::singleShot(0, program.form1.get(), [&] { program.form1->close(); });
        QTimer giveUp;
        giveUp.setSingleShot(true);
        connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        giveUp.start(10000);
        const int status = QCoreApplication::exec();
        QVERIFY(answer.answered());
        QCOMPARE(status, 0);
        QVERIFY(program.form1->isHidden());
    }

    void BadRotationStepShowsTheErrorBox() {
        Program program;
        program.Start();
        TForm1& form = *program.form1;
        TypeValue(form, 0, QStringLiteral("abc"));
        const QString angle = ShownValue(form, 6);
        QString text, title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QWidget* owner = nullptr;
        ModalAnswer answer([&](QMessageBox& box) {
            text = box.text();
            title = box.windowTitle();
            icon = box.icon();
            owner = box.parentWidget();
            Give(box, Answer::ClickOk);
        });
        Click(Control<QPushButton>(form, "Button4"));  // "Поворот +"
        QVERIFY(answer.answered());
        QCOMPARE(text, QStringLiteral("'abc' is not a valid floating point value."));
        QCOMPARE(title, QStringLiteral("lifecycle_tests"));
        QCOMPARE(title, ApplicationTitle());
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(owner, &form);
        // The program goes on: the window is usable and nothing was rolled back or changed.
        QVERIFY(form.isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), &form);
        QCOMPARE(ShownValue(form, 0), QStringLiteral("abc"));
        QCOMPARE(ShownValue(form, 6), angle);
        TypeValue(form, 0, QStringLiteral("10"));
        Click(Control<QPushButton>(form, "Button4"));
        QCOMPARE(ShownValue(form, 6), QStringLiteral("10"));
    }

    void ButtonErrorIsShownWhereTheHandlerIsCalled() {
        // A clicked signal raised outside any event: nothing but the connection itself
        // stands between the handler's error and this test.
        Program program;
        program.Start();
        TForm1& form = *program.form1;
        TypeValue(form, 0, QStringLiteral("abc"));
        QString text;
        ModalAnswer answer([&](QMessageBox& box) {
            text = box.text();
            Give(box, Answer::ClickOk);
        });
        bool escaped = false;
        try {
            emit Control<QPushButton>(form, "Button4")->clicked(false);
        } catch (...) {
            escaped = true;
        }
        QVERIFY(!escaped);
        QVERIFY(answer.answered());
        QCOMPARE(text, QStringLiteral("'abc' is not a valid floating point value."));
    }
};

}  // namespace velmora::test

int main(int argc, char** argv) {
    velmora::Application application(argc, argv);
    velmora::InstallApplicationTitle();
    velmora::test::LifecycleTest tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "LifecycleTest.moc"
