// Hand-run demo: the three controls in the main window's configurations, and the gradient
// labels both as themed (transparent) and unthemed (opaque) desktops show them.
#include "widgets/AdvEdit.h"
#include "widgets/AdvProgressBar.h"
#include "widgets/Fonts.h"
#include "widgets/GradientLabel.h"

#include <QApplication>
#include <QFont>

namespace {

QFont layoutFont(const char* family, int pixels, bool bold)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

TAdvEdit* entryField(QWidget* parent, QRect geometry, TAdvEdit::TAdvEditType type, const QString& text)
{
    auto* edit = new TAdvEdit(parent);
    edit->setGeometry(geometry);
    edit->setEditType(type);
    edit->setColor(clWhite);
    edit->setFocusColor(0x00F7E0CC);
    edit->setCanUndo(false);
    edit->setAutoThousandSeparator(false);
    edit->setFont(layoutFont("MS Sans Serif", 11, type != TAdvEdit::etString));
    if (type == TAdvEdit::etNumeric)
        edit->setMaxLength(3);
    if (type == TAdvEdit::etFloat) {
        edit->setPrecision(2);
        edit->setMaxLength(4);
        edit->setReadOnly(true);
        edit->setTabStop(false);
    } else {
        edit->setReturnIsTab(true);
    }
    edit->setText(text);
    return edit;
}

TAdvProgressBar* levelBar(QWidget* parent, QPoint at, int position)
{
    auto* bar = new TAdvProgressBar(parent);
    bar->setGeometry(QRect(at, QSize(28, 89)));
    bar->setOrientation(TAdvProgressBar::goVertical);
    bar->setSteps(100);
    bar->setLevel1Perc(110);
    bar->setLevel2Perc(120);
    bar->setShowPercentage(false);
    bar->setLevel1Color(0x0053A9FF);
    bar->setLevel1ColorTo(0x00A8D3FF);
    bar->setLevel2Color(clRed);
    bar->setLevel2ColorTo(0x00CACAFF);
    bar->setLevel3Color(clBlack);
    bar->setLevel3ColorTo(clSilver);
    bar->setFont(layoutFont("Verdana", 13, false));
    bar->setPosition(position);
    return bar;
}

TGradientLabel* label(QWidget* parent, QRect geometry, const QFont& font, TColor colorTo, bool wrap,
                      Qt::Alignment alignment, const QString& text, bool opaque)
{
    auto* gradient = new TGradientLabel(parent);
    if (opaque)
        gradient->setTransparent(false);
    gradient->setGeometry(geometry);
    gradient->setFont(font);
    gradient->setColorTo(colorTo);
    gradient->setWordWrap(wrap);
    gradient->setAlignment(alignment | Qt::AlignTop);
    gradient->setText(text);
    return gradient;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    RegisterFontSubstitutes();

    QWidget window;
    window.setWindowTitle(QStringLiteral("widgets demo"));
    window.resize(640, 360);

    entryField(&window, QRect(10, 10, 312, 18), TAdvEdit::etString, QStringLiteral("Иванов Иван Иванович"));
    entryField(&window, QRect(10, 36, 40, 18), TAdvEdit::etNumeric, QStringLiteral("120"));
    entryField(&window, QRect(60, 36, 40, 18), TAdvEdit::etNumeric, QStringLiteral("0"));
    entryField(&window, QRect(110, 36, 40, 18), TAdvEdit::etFloat, QStringLiteral("2,295"));

    const int positions[] = {0, 21, 50, 100, 110, 120};
    const TColor level0[][2] = {{clLime, 14811105}, {clLime, 14811105}, {5483007, 11064319},
                                {clRed, 13290239}, {clLime, 14811105}, {clLime, 14811105}};
    for (int i = 0; i < 6; ++i) {
        TAdvProgressBar* bar = levelBar(&window, QPoint(10 + 36 * i, 70), positions[i]);
        bar->setLevel0Color(level0[i][0]);
        bar->setLevel0ColorTo(level0[i][1]);
    }

    const QFont small = layoutFont("MS Sans Serif", 11, false);
    const QFont heading = layoutFont("Verdana", 16, true);
    const QFont message = layoutFont("Verdana", 13, false);
    for (const bool opaque : {false, true}) {
        const int x = opaque ? 330 : 10;
        label(&window, QRect(x, 170, 137, 33), small, clWhite, true, Qt::AlignLeft,
              QStringLiteral("Неудовлетворительная адаптация"), opaque);
        label(&window, QRect(x, 210, 145, 25), heading, 6711039, false, Qt::AlignLeft, QStringLiteral("Ошибка ввода"), opaque);
        label(&window, QRect(x, 240, 185, 49), message, clBtnFace, true, Qt::AlignLeft,
              QStringLiteral("Значение вне допустимого диапазона"), opaque);
        label(&window, QRect(x, 300, 233, 25), heading, 15831310, false, Qt::AlignRight,
              QStringLiteral("О программе   "), opaque);
    }

    window.show();
    return app.exec();
}
