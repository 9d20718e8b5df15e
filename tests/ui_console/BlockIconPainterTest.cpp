// Every icon is drawn, and the families look apart.
#include "UiTestRegistry.h"
#include "model/BlockCatalogue.h"
#include "ui/BlockIconPainter.h"
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QTest>

using namespace z5;

namespace {

QImage render(int icon) {
    QImage image(33, 33, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    BlockIconPainter::paint(p, QRectF(0, 0, 33, 33), icon);
    return image;
}

int inkedPixels(const QImage &image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
    return n;
}

} // namespace

class BlockIconPainterTest : public QObject {
    Q_OBJECT
private slots:
    void everyIconIsDrawnAndNoOtherNumber() {
        for (int icon = 0; icon < 396; ++icon) QVERIFY2(inkedPixels(render(icon)) > 100, qPrintable(QString::number(icon)));
        QCOMPARE(inkedPixels(render(396)), 0);
        QCOMPARE(inkedPixels(render(-1)), 0);
    }

    void instancesOfATypeDifferOnlyInTheirNumber() {
        QVERIFY(render(BlockType::PID - 1) != render(BlockType::PID - 1 + 33));
    }

    void sevenFamiliesWithTheirOwnColours() {
        QSet<QRgb> fills;
        const int oneOfEach[] = {BlockType::A_I, BlockType::MUL, BlockType::AND, BlockType::PID, BlockType::TIM, BlockType::GRA, BlockType::UNI};
        for (int type : oneOfEach) fills.insert(BlockIconPainter::fillOf(BlockIconPainter::familyOf(type)).rgb());
        QCOMPARE(fills.size(), 7);
        QCOMPARE(BlockIconPainter::familyOf(BlockType::D_O), BlockIconPainter::Family::InputOutput);
        QCOMPARE(BlockIconPainter::familyOf(BlockType::SCA), BlockIconPainter::Family::Operator);
        QCOMPARE(BlockIconPainter::familyOf(BlockType::LOG), BlockIconPainter::Family::Special);
        // The fill shows inside the frame, left of the text.
        const QRgb inside = render(BlockType::MUL - 1).pixel(4, 16);
        QCOMPARE(inside, BlockIconPainter::fillOf(BlockIconPainter::Family::Arithmetic).rgb());
    }
};

static z5::uitest::Registrar<BlockIconPainterTest> registrar;
#include "BlockIconPainterTest.moc"
