// "Копировать рисунок": the plot alone, as an SVG picture of its size and beside it the same
// drawing as a raster image of twice that size, showing the current ranges.
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTest>
#include <QXmlStreamReader>

#include "MainWindowFixture.h"
#include "PictureClipboard.h"
#include "PlotChart.h"
#include "SeparatorScope.h"

namespace velmora::test {
namespace {

struct SvgPicture {
    QString width;
    QString height;
    QStringList texts;         ///< every text drawn, in order
    QStringList fontFamilies;  ///< every font family named
};

SvgPicture ReadSvg(const QByteArray& svg) {
    SvgPicture picture;
    QXmlStreamReader reader(svg);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const QXmlStreamAttributes attributes = reader.attributes();
        if (attributes.hasAttribute(QStringLiteral("font-family"))) {
            picture.fontFamilies << attributes.value(QStringLiteral("font-family")).toString();
        }
        if (reader.name() == QLatin1String("svg") && picture.width.isEmpty()) {
            picture.width = attributes.value(QStringLiteral("width")).toString();
            picture.height = attributes.value(QStringLiteral("height")).toString();
        } else if (reader.name() == QLatin1String("text")) {
            picture.texts
                << reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        }
    }
    if (reader.hasError()) {
        qFatal("the picture is not well-formed XML: %s", qPrintable(reader.errorString()));
    }
    return picture;
}

/// The numbers of the axis labels in a picture.
QList<double> LabelValues(const SvgPicture& picture) {
    QList<double> values;
    for (const QString& text : picture.texts) {
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (ok) {
            values << value;
        }
    }
    return values;
}

}  // namespace

class CopyPictureTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        form_ = ShowMainWindow();
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    }
    void cleanup() { form_.reset(); }

    void ClipboardHoldsTheSvgAndARasterOfThePlot() {
        Click(Control<QPushButton>(*form_, "Button9"));
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(data->formats(), QStringList({QStringLiteral("image/svg+xml"),
                                               QStringLiteral("application/x-qt-image")}));
        const QByteArray svg = data->data(QStringLiteral("image/svg+xml"));
        const SvgPicture picture = ReadSvg(svg);
        QCOMPARE(picture.width, QStringLiteral("700px"));
        QCOMPARE(picture.height, QStringLiteral("700px"));
        QSvgRenderer renderer(svg);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.defaultSize(), QSize(700, 700));
        QCOMPARE(renderer.viewBox(), QRect(0, 0, 700, 700));

        // Only the plot's own drawing: no button caption and no axis letter.
        for (const char* caption : {"Копировать рисунок", "Информация", "Параметры установки",
                                    "Начать/Сброс", "X", "Y"}) {
            QVERIFY2(!picture.texts.contains(QString::fromUtf8(caption)), caption);
        }
        QVERIFY(!svg.contains(QStringLiteral("Копировать").toUtf8()));
        // The labels of the fixed ranges, minus signs included, in a named real face.
        const QList<double> labels = LabelValues(picture);
        QVERIFY(labels.contains(-20));
        QVERIFY(labels.contains(-10));
        QVERIFY(labels.contains(20));
        QVERIFY(picture.texts.contains(QStringLiteral("-20")));
        QVERIFY(!picture.fontFamilies.isEmpty());
        for (const QString& family : picture.fontFamilies) {
            QCOMPARE(family, QStringLiteral("Liberation Sans"));
        }
        // No description text travels with the picture.
        QVERIFY(!svg.contains("<desc"));
        QVERIFY(!svg.contains("<title"));
    }

    void RasterIsThePictureAtTwiceItsSizeOnWhite() {
        Click(Control<QPushButton>(*form_, "Button9"));
        const QImage image =
            qvariant_cast<QImage>(QGuiApplication::clipboard()->mimeData()->imageData());
        QCOMPARE(image.size(), QSize(1400, 1400));
        QVERIFY(!image.hasAlphaChannel());
        // 192 dots per inch: on paper the picture is as large as the plot on a 96 dpi screen.
        QCOMPARE(image.dotsPerMeterX(), 7559);
        QCOMPARE(image.dotsPerMeterY(), 7559);
        QCOMPARE(image.pixelColor(4, 4), QColor(Qt::white));
        // The wire sections at (±13, 0) are red where the plot draws them, at twice the scale.
        const QRect area = chart()->DataArea();
        const AxisRange x = PlotScene::kFixedXRange;
        const AxisRange y = PlotScene::kFixedYRange;
        for (const double wire : {-13.0, 13.0}) {
            const double column = area.left() + (wire - x.Min) / (x.Max - x.Min) * area.width();
            const double row = area.top() + y.Max / (y.Max - y.Min) * area.height();
            QCOMPARE(image.pixelColor(int(column * kRasterScale), int(row * kRasterScale)),
                     QColor(Qt::red));
        }
    }

    void TickLabelsAreTheBenchsNumberTexts() {
        // Under Arabic, with the bench's decimal comma: Latin digits, "-" and the comma.
        const QLocale desktop;
        QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::SaudiArabia));
        const SeparatorScope comma(u',');
        const std::unique_ptr<TForm1> arabic = ShowMainWindow();
        auto* plot = Control<PlotChart>(*arabic, "Chart1");
        plot->SetRanges({-1, 1}, {-25, 25});
        const QStringList texts = ReadSvg(plot->RenderSvg()).texts;
        QLocale::setDefault(desktop);
        QVERIFY2(texts.contains(QStringLiteral("-0,5")), qPrintable(texts.join(u' ')));
        QVERIFY(texts.contains(QStringLiteral("-20")));
    }

    void CopyShowsTheZoomedRangesUntilReset() {
        auto* chart = Control<PlotChart>(*form_, "Chart1");
        // Zoom with the mouse into a square of about 8 cm right of and above the centre.
        const QPoint from = chart->DataArea().center();
        const QPoint to = from + QPoint(110, -110);
        const double left = chart->PixelToX(from.x());
        const double right = chart->PixelToX(to.x());
        const double bottom = chart->PixelToY(from.y());
        const double top = chart->PixelToY(to.y());
        DragOnPlot(chart, Qt::LeftButton, from, to);
        QVERIFY(chart->XRange().Max - chart->XRange().Min < 15);
        Click(Control<QPushButton>(*form_, "Button9"));
        const QList<double> zoomed = LabelValues(ReadSvg(
            QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("image/svg+xml"))));
        QVERIFY(zoomed.size() >= 4);
        // Every label lies inside the zoomed ranges: none of the fixed ones is left.
        for (double value : zoomed) {
            const bool onX = value >= left && value <= right;
            const bool onY = value >= bottom && value <= top;
            QVERIFY2(onX || onY, qPrintable(QString::number(value)));
        }
        QVERIFY(!zoomed.contains(-20));
        QVERIFY(!zoomed.contains(-10));

        Click(Control<QPushButton>(*form_, "Button1"));
        Click(Control<QPushButton>(*form_, "Button9"));
        const QList<double> fixed = LabelValues(ReadSvg(
            QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("image/svg+xml"))));
        QVERIFY(fixed.contains(-20));
        // The copy changes nothing on screen.
        QCOMPARE(chart->XRange(), PlotScene::kFixedXRange);
    }

    void PictureIsDrawnWithTheCurrentLayers() {
        // A marker moved far to the right is drawn further right in the picture.
        QVERIFY(chart()->ShownPoints(Layer::ProbeMarker).size() == 3);
        const QByteArray before = chart()->RenderSvg();
        Click(Control<QPushButton>(*form_, "Button2"));
        const QByteArray after = chart()->RenderSvg();
        QVERIFY(before != after);
        QCOMPARE(ReadSvg(after).texts, ReadSvg(before).texts);
    }

  private:
    PlotChart* chart() { return Control<PlotChart>(*form_, "Chart1"); }

    std::unique_ptr<TForm1> form_;
};

QObject* NewCopyPictureTest() {
    return new CopyPictureTest;
}

}  // namespace velmora::test

#include "CopyPictureTest.moc"
