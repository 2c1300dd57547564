// The information and apparatus windows on their own, over a stand-in main window: their
// definitions, pictures and texts, and how they are shown, raised, closed and shown again.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <memory>

#include "Pictures.h"
#include "Unit2.h"
#include "Unit3.h"

using velmora::TForm2;
using velmora::TForm3;

namespace {

QStringList InformationLines() {
    return {
        QStringLiteral("Данная программа предназначена для проведения лабораторных "),
        QStringLiteral("работ по магнетизму:"),
        QString(),
        QStringLiteral("12 Исследование основных свойств магнитного поля (закон полного тока)"),
        QStringLiteral("13 Исследование магнитного поля кругового тока (закон Био-Савара-Лапласа)"),
        QStringLiteral("14 Исследование динамических характеристик магнитного поля (магнитный "),
        QStringLiteral("поток,самоиндукция, индуктивность)"),
        QString(),
        QStringLiteral("Замечание по поводу работы программы можно направить на почту"),
        QStringLiteral("velmora@example.org"),
        QString(),
        QStringLiteral("Работа с программой описана в видео"),
        QStringLiteral("https://example.org/velmora/video"),
    };
}

template <class T>
T* Child(QWidget& window, const char* name) {
    T* child = window.findChild<T*>(QLatin1String(name));
    if (child == nullptr)
        qFatal("no control %s", name);
    return child;
}

}  // namespace

class SideWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        main_ = std::make_unique<QWidget>();
        main_->setGeometry(120, 90, 1023, 737);
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
        form2_ = new TForm2(main_.get());
        form3_ = new TForm3(main_.get());
    }
    void cleanup() { main_.reset(); }

    void BothStartHiddenAsWindowsAboveTheMainWindow() {
        for (QWidget* form : {static_cast<QWidget*>(form2_), static_cast<QWidget*>(form3_)}) {
            QVERIFY(form->isHidden());
            QVERIFY(form->isWindow());
            QCOMPARE(form->parentWidget(), main_.get());
            QVERIFY(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            QVERIFY(form->windowFlags().testFlag(Qt::WindowMinMaxButtonsHint));
            QVERIFY(form->windowFlags().testFlag(Qt::WindowCloseButtonHint));
            QCOMPARE(form->palette().color(QPalette::Window),
                     form->palette().color(QPalette::Base));
            QCOMPARE(QFontInfo(form->font()).pixelSize(), 11);
        }
    }

    void ClientAreasAreFixed_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("client");
        QTest::newRow("information") << 2 << QStringLiteral("Информация") << QSize(653, 338);
        QTest::newRow("apparatus") << 3 << QStringLiteral("Описание установки") << QSize(534, 449);
    }
    void ClientAreasAreFixed() {
        QFETCH(int, form);
        QFETCH(QString, caption);
        QFETCH(QSize, client);
        QWidget* window = form == 2 ? static_cast<QWidget*>(form2_) : form3_;
        QCOMPARE(window->windowTitle(), caption);
        QCOMPARE(window->size(), client);
        const QWidget* designed = window->findChild<QWidget*>(form == 2 ? "TForm2" : "TForm3");
        QCOMPARE(designed->minimumSize(), client);
        QCOMPARE(designed->maximumSize(), client);
        QCOMPARE(window->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    }

    void InformationTextIsTheThirteenLines() {
        auto* memo = Child<QTextEdit>(*form2_, "Memo1");
        QCOMPARE(memo->toPlainText().split(u'\n'), InformationLines());
        QCOMPARE(memo->geometry(), QRect(8, 0, 641, 217));
        QCOMPARE(QFontInfo(memo->font()).family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(QFontInfo(memo->font()).pixelSize(), 14);
    }

    void InformationTextFitsWithoutScrollBars() {
        form2_->ShowAndRaise();
        auto* memo = Child<QTextEdit>(*form2_, "Memo1");
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(memo->lineWrapMode(), QTextEdit::WidgetWidth);
        QVERIFY2(memo->document()->size().height() <= memo->viewport()->height(),
                 qPrintable(QStringLiteral("text %1 px high in a %2 px box")
                                .arg(memo->document()->size().height())
                                .arg(memo->viewport()->height())));
        // Each line is one line, and as far from the next as its letters are high, so that
        // a selected line's highlight covers no other line.
        QCOMPARE(memo->document()->blockCount(), 13);
        const int letters = QFontMetrics(memo->font()).height();
        for (QTextBlock block = memo->document()->begin(); block.next().isValid();
             block = block.next()) {
            QCOMPARE(block.layout()->lineCount(), 1);
            const QAbstractTextDocumentLayout* layout = memo->document()->documentLayout();
            const qreal gap = layout->blockBoundingRect(block.next()).top() -
                              layout->blockBoundingRect(block).top();
            QVERIFY2(gap >= letters, qPrintable(block.text()));
        }
    }

    void InformationTextCannotBeChangedButCanBeCopied() {
        form2_->ShowAndRaise();
        QTRY_COMPARE(QApplication::activeWindow(), form2_);
        auto* memo = Child<QTextEdit>(*form2_, "Memo1");
        QCOMPARE(QApplication::focusWidget(), memo);
        const QString before = memo->toPlainText();
        QTest::keyClicks(memo, QStringLiteral("abc"));
        QTest::keyClick(memo, Qt::Key_Backspace);
        QTest::keyClick(memo, Qt::Key_Delete);
        QTest::keyClick(memo, Qt::Key_Return);
        QApplication::clipboard()->setText(QStringLiteral("pasted"));
        QTest::keySequence(memo, QKeySequence::Paste);
        QTest::keySequence(memo, QKeySequence::Cut);
        QCOMPARE(memo->toPlainText(), before);

        QTest::keySequence(memo, QKeySequence::SelectAll);
        QTest::keySequence(memo, QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(), before);
    }

    void InformationPictureAtNaturalSizeTopLeft() {
        auto* image = Child<QLabel>(*form2_, "Image2");
        QCOMPARE(image->geometry(), QRect(8, 223, 105, 105));
        QCOMPARE(image->pixmap().size(), QSize(100, 100));
        QVERIFY(!image->hasScaledContents());
        QCOMPARE(image->alignment() & (Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask),
                 Qt::AlignLeft | Qt::AlignTop);
        QCOMPARE(image->focusPolicy(), Qt::NoFocus);
    }

    void ShippedPicturesDecode_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSize>("size");
        QTest::newRow("formula JPEG")
            << ":/pictures/formula.jpg" << QByteArray("jpeg") << QSize(100, 100);
        QTest::newRow("apparatus bitmap")
            << ":/pictures/apparatus.bmp" << QByteArray("bmp") << QSize(469, 323);
        QTest::newRow("icon") << ":/pictures/velmora.png" << QByteArray("png") << QSize(94, 94);
    }
    void ShippedPicturesDecode() {
        QFETCH(QString, path);
        QFETCH(QByteArray, format);
        QFETCH(QSize, size);
        QImageReader reader(path);
        QCOMPARE(reader.format(), format);
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.size(), size);
    }

    void ApparatusPictureIs24BitBitmap() {
        QFile file(QStringLiteral(":/pictures/apparatus.bmp"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray header = file.read(30);
        QCOMPARE(header.left(2), QByteArray("BM"));
        QCOMPARE(static_cast<int>(header.at(28)), 24);  // bits per pixel
        QCOMPARE(static_cast<int>(header.at(29)), 0);
    }

    void IconHas256ColourPalette() {
        const QImage icon(QStringLiteral(":/pictures/velmora.png"));
        QCOMPARE(icon.format(), QImage::Format_Indexed8);
        QVERIFY(icon.colorCount() <= 256);
        QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);      // outside the circle
        QCOMPARE(qAlpha(icon.pixel(47, 47)), 255);  // inside it
        QVERIFY(velmora::ProgramIcon().availableSizes().contains(QSize(94, 94)));
    }

    void ApparatusPictureAndLabels() {
        auto* image = Child<QLabel>(*form3_, "Image1");
        QCOMPARE(image->geometry(), QRect(24, 8, 473, 329));
        QCOMPARE(image->pixmap().size(), QSize(469, 323));
        QVERIFY(!image->hasScaledContents());
        QCOMPARE(image->alignment() & (Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask),
                 Qt::AlignLeft | Qt::AlignTop);

        const struct {
            const char* name;
            QString text;
            QRect designed;
        } labels[] = {
            {"Label1", QStringLiteral("Количество витков катушки N= 400"), {24, 352, 317, 24}},
            {"Label2", QStringLiteral("Ток I = 50 mA"), {24, 376, 116, 24}},
            {"Label3", QStringLiteral("Радиус катушки R=13 см"), {24, 400, 218, 24}},
        };
        for (const auto& expected : labels) {
            auto* label = Child<QLabel>(*form3_, expected.name);
            QCOMPARE(label->text(), expected.text);
            QCOMPARE(label->pos(), expected.designed.topLeft());
            QCOMPARE(label->height(), 24);
            QCOMPARE(QFontInfo(label->font()).family(), QStringLiteral("Liberation Sans"));
            QCOMPARE(QFontInfo(label->font()).pixelSize(), 19);
            // As wide as its text, within the width it was designed with.
            QCOMPARE(label->width(), label->sizeHint().width());
            QVERIFY2(label->width() <= expected.designed.width(), expected.name);
        }
    }

    void ApparatusSymbolsAreLatin() {
        // N, I, R and "mA" are Latin letters among Cyrillic words; a look-alike would pass
        // a comparison with a string typed the same wrong way.
        const QString n = Child<QLabel>(*form3_, "Label1")->text();
        const QString i = Child<QLabel>(*form3_, "Label2")->text();
        const QString r = Child<QLabel>(*form3_, "Label3")->text();
        QCOMPARE(n.at(n.indexOf(u'=') - 1).unicode(), 0x004E);
        QCOMPARE(i.at(i.indexOf(u'=') - 2).unicode(), 0x0049);
        QCOMPARE(i.right(2), QLatin1String("mA"));
        QCOMPARE(r.at(r.indexOf(u'=') - 1).unicode(), 0x0052);
        QCOMPARE(r.right(2), QString::fromUtf16(u"\u0441\u043C"));  // Cyrillic "см"
    }

    void NothingInTheApparatusWindowTakesTheFocus() {
        for (QWidget* child : form3_->findChildren<QWidget*>())
            QCOMPARE(child->focusPolicy(), Qt::NoFocus);
        form3_->ShowAndRaise();
        QTRY_COMPARE(QApplication::activeWindow(), form3_);
        QCOMPARE(QApplication::focusWidget(), form3_);
        QTest::keyClick(form3_, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form3_);
    }

    void FirstShowCentresOverTheMainWindow() {
        form2_->ShowAndRaise();
        form3_->ShowAndRaise();
        QVERIFY(QTest::qWaitForWindowExposed(form3_));
        const QRect main = main_->frameGeometry();
        for (QWidget* form : {static_cast<QWidget*>(form2_), static_cast<QWidget*>(form3_)}) {
            const QRect frame = form->frameGeometry();
            QCOMPARE(frame.left(), main.left() + (main.width() - frame.width()) / 2);
            QCOMPARE(frame.top(), main.top() + (main.height() - frame.height()) / 2);
        }
    }

    void FirstShowKeepsInsideTheWorkArea() {
        const QRect work = main_->screen()->availableGeometry();
        main_->move(work.left() - 600, work.top() - 500);
        form3_->ShowAndRaise();
        QCOMPARE(form3_->frameGeometry().topLeft(), work.topLeft());
    }

    void ShownAgainWhereItWasClosed() {
        form2_->ShowAndRaise();
        QVERIFY(QTest::qWaitForWindowExposed(form2_));
        form2_->move(40, 30);
        QVERIFY(form2_->close());
        QVERIFY(form2_->isHidden());
        main_->move(300, 200);  // a moved main window does not pull it back either
        form2_->ShowAndRaise();
        QVERIFY(form2_->isVisible());
        QCOMPARE(form2_->pos(), QPoint(40, 30));
    }

    void ClosingHidesWithoutQuestionAndKeepsTheWindow() {
        form3_->ShowAndRaise();
        QVERIFY(QTest::qWaitForWindowExposed(form3_));
        QPointer<TForm3> form = form3_;
        QVERIFY(form->close());
        QCoreApplication::processEvents();
        QVERIFY(!form.isNull());
        QVERIFY(form->isHidden());
        QVERIFY(main_->isVisible());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void ShowBringsTheWindowToTheFrontActivated() {
        form2_->ShowAndRaise();
        QTRY_COMPARE(QApplication::activeWindow(), form2_);
        form3_->ShowAndRaise();
        QTRY_COMPARE(QApplication::activeWindow(), form3_);
        form2_->ShowAndRaise();  // already visible, behind the apparatus window
        QTRY_COMPARE(QApplication::activeWindow(), form2_);
        QCOMPARE(main_->findChildren<TForm2*>().size(), 1);
        QCOMPARE(main_->findChildren<TForm3*>().size(), 1);
    }

    void ShowRestoresAMinimisedWindow() {
        form3_->ShowAndRaise();
        QVERIFY(QTest::qWaitForWindowExposed(form3_));
        form3_->showMinimized();
        form3_->ShowAndRaise();
        QVERIFY(!form3_->isMinimized());
        QVERIFY(form3_->isVisible());
    }

    void SideWindowsGoAndComeBackWithTheMainWindow() {
        form2_->ShowAndRaise();
        QVERIFY(QTest::qWaitForWindowExposed(form2_));
        form2_->move(61, 52);
        main_->showMinimized();
        QTRY_VERIFY(form2_->isHidden());
        QVERIFY(form3_->isHidden());
        main_->showNormal();
        QTRY_VERIFY(form2_->isVisible());
        QVERIFY(form3_->isHidden());  // it was not open before
        QCOMPARE(form2_->pos(), QPoint(61, 52));
        main_->showMinimized();
        main_->showNormal();
        QTRY_VERIFY(form2_->isVisible());
    }

    void NeitherWindowAnswersEnterOrEscape_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<int>("key");
        QTest::newRow("information, Escape") << 2 << int(Qt::Key_Escape);
        QTest::newRow("information, Enter") << 2 << int(Qt::Key_Return);
        QTest::newRow("apparatus, Escape") << 3 << int(Qt::Key_Escape);
        QTest::newRow("apparatus, Enter") << 3 << int(Qt::Key_Return);
    }
    void NeitherWindowAnswersEnterOrEscape() {
        QFETCH(int, form);
        QFETCH(int, key);
        velmora::SideWindow* window =
            form == 2 ? static_cast<velmora::SideWindow*>(form2_) : form3_;
        window->ShowAndRaise();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(window));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QVERIFY(window->isVisible());
    }

  private:
    std::unique_ptr<QWidget> main_;
    TForm2* form2_ = nullptr;
    TForm3* form3_ = nullptr;
};

QTEST_MAIN(SideWindowsTest)
#include "SideWindowsTest.moc"
