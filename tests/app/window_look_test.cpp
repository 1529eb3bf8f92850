// The window's flat look, grabbed from the real window at the scale the run sets: at 100%, at 125%
// (QT_SCALE_FACTOR=1.25, and 120 dpi) and at 150%. The background is the system window colour, and every
// edit, button and box is framed by one line of device pixels in the window-frame colour, focused or not,
// enabled or not.
#include "app/window_fixture.h"

#include <QPushButton>
#include <QStyle>

#include <cstdlib>

namespace kalvian::test {
namespace {

// The scale the environment asks Qt for.
double requestedScale() {
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
        return qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
    }
    if (qEnvironmentVariableIsSet("QT_FONT_DPI")) {
        return qEnvironmentVariableIntValue("QT_FONT_DPI") / 96.0;
    }
    return 1.0;
}

QString at(int x, int y) {
    return QStringLiteral("%1,%2").arg(x).arg(y);
}

// What keeps the pixels of `ring` in the image from being a frame one device pixel wide: those of the ring
// that are not the frame colour, and those of the ring inside it (beside the corners and halfway along
// the sides) that are.
QStringList frameFaults(const QImage& image, const QRect& ring, const QColor& frame) {
    QStringList faults;
    const auto expect = [&](int x, int y, bool isFrame) {
        if ((image.pixelColor(x, y) == frame) != isFrame && faults.size() < 8) {
            faults << (isFrame ? QString() : QStringLiteral("dentro ")) + at(x, y);
        }
    };
    for (int x = ring.left(); x <= ring.right(); ++x) {
        expect(x, ring.top(), true);
        expect(x, ring.bottom(), true);
    }
    for (int y = ring.top(); y <= ring.bottom(); ++y) {
        expect(ring.left(), y, true);
        expect(ring.right(), y, true);
    }
    const QRect inside = ring.adjusted(1, 1, -1, -1);
    for (const QPoint point :
         {inside.topLeft(), inside.topRight(), inside.bottomLeft(), inside.bottomRight(),
          QPoint(inside.left(), inside.center().y()), QPoint(inside.right(), inside.center().y())}) {
        expect(point.x(), point.y(), false);
    }
    return faults;
}

// The device pixels a control covers in the window's picture: its logical edges scaled and rounded, as
// the painting rounds them.
QRect devicePixels(const QWidget& control, const QWidget& window) {
    const qreal ratio = window.devicePixelRatioF();
    const QRectF logical(QPointF(control.mapTo(&window, QPoint(0, 0))), QSizeF(control.size()));
    const QRectF scaled(logical.topLeft() * ratio, logical.bottomRight() * ratio);
    return QRect(QPoint(qRound(scaled.left()), qRound(scaled.top())),
                 QPoint(qRound(scaled.right()) - 1, qRound(scaled.bottom()) - 1));
}

constexpr const char* kEdits[] = {"edtInscricao", "edtDataIni", "edtDataFin",
                                  "edtOrigem",    "edtDestino", "edtArquivo"};
constexpr const char* kButtons[] = {"btnConsulta", "btnNovaConsulta", "btnExportar", "btnSair"};
constexpr const char* kBoxes[] = {"sbDadosVrk3", "sbNotasLocalizadas", "sbDadosVrk4"};

class WindowLookTest : public WindowTest {
protected:
    QColor frameColour() const { return window->palette().color(QPalette::Active, QPalette::WindowText); }

    // The control grabbed alone, and as it lies in the window's picture (where its edges may fall between
    // device pixels) unless another control covers it there.
    void expectFramed(const char* name, const char* state) {
        QWidget* shown = control<QWidget>(name);
        const QImage alone = shown->grab().toImage();
        EXPECT_EQ(frameFaults(alone, alone.rect(), frameColour()), QStringList()) << name << " " << state;
        const QPoint centre = shown->mapTo(window.get(), shown->rect().center());
        QWidget* onTop = window->childAt(centre);
        if (onTop == shown || shown->isAncestorOf(onTop)) {
            const QImage inWindow = window->grab().toImage();
            EXPECT_EQ(frameFaults(inWindow, devicePixels(*shown, *window), frameColour()), QStringList())
                << name << " " << state << " na janela";
        }
    }
};

TEST_F(WindowLookTest, RunsAtTheRequestedScale) {
    EXPECT_DOUBLE_EQ(window->devicePixelRatioF(), requestedScale());
}

TEST_F(WindowLookTest, BackgroundIsTheSystemWindowColour) {
    const QImage image = window->grab().toImage();
    const qreal ratio = window->devicePixelRatioF();
    // Between the banner and the image area, and beside the logo: nothing but background.
    for (const QPoint point : {QPoint(300, 40), QPoint(300, 370)}) {
        EXPECT_EQ(image.pixelColor((QPointF(point) * ratio).toPoint()),
                  window->palette().color(QPalette::Base))
            << point.x() << "," << point.y();
    }
    EXPECT_NE(window->palette().color(QPalette::Base),
              window->style()->standardPalette().color(QPalette::Window));
}

TEST_F(WindowLookTest, EditsAndButtonsHaveAOnePixelFrameUnfocused) {
    date("edtDataFin")->setDateValue(toSerial({2008, 3, 31}));
    edit("edtArquivo")->setFocus();
    for (const char* name : kEdits) {
        if (std::string_view(name) != "edtArquivo") {
            expectFramed(name, "sem foco");
        }
    }
    for (const char* name : kButtons) {
        expectFramed(name, "sem foco");
    }
}

TEST_F(WindowLookTest, BoxesHaveAOnePixelFrame) {
    queryGoldenTables(); // shows the counts' box
    for (const char* name : kBoxes) {
        ASSERT_TRUE(control<QWidget>(name)->isVisible()) << name;
        expectFramed(name, "resultado");
    }
}

TEST_F(WindowLookTest, EditsHaveTheirFrameFocused) {
    date("edtDataIni")->setDateValue(toSerial({2008, 3, 1}));
    for (const char* name : kEdits) {
        control<QWidget>(name)->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(focused(), QString::fromLatin1(name));
        expectFramed(name, "com foco");
    }
    control<QWidget>("btnSair")->setFocus(Qt::TabFocusReason);
    expectFramed("btnSair", "com foco");
}

TEST_F(WindowLookTest, DisabledInputKeepsItsFrame) {
    queryGoldenTables();
    for (const char* name : {"edtInscricao", "edtDataIni", "edtDataFin", "edtOrigem"}) {
        ASSERT_FALSE(control<QWidget>(name)->isEnabled()) << name;
        expectFramed(name, "desabilitado");
    }
    ASSERT_FALSE(action("actConsulta")->isVisible());
    expectFramed("btnNovaConsulta", "resultado");
    expectFramed("btnExportar", "resultado");
}

// Each edit's text is drawn inside it, in the text colour: a font whose lines do not fit the edit's 20
// pixels (a fallback for a missing Arial) would leave it blank or cut.
TEST_F(WindowLookTest, EveryEditShowsItsText) {
    for (const char* name : {"edtInscricao", "edtOrigem", "edtDestino", "edtArquivo"}) {
        edit(name)->setText(QStringLiteral("VRK3_1001__01_01_2008"));
    }
    date("edtDataIni")->setDateValue(toSerial({2008, 3, 1}));
    date("edtDataFin")->setDateValue(toSerial({2008, 3, 31}));
    for (const char* name : kEdits) {
        QWidget* shown = control<QWidget>(name);
        const QImage image = shown->grab().toImage();
        const QColor text = shown->palette().color(QPalette::Text);
        // Inside the frame and the margins; the text's middle band, where every glyph has ink.
        const qreal ratio = shown->devicePixelRatioF();
        const QRect band(QPoint(qRound(3 * ratio), qRound(7 * ratio)),
                         QPoint(image.width() - 4, qRound(12 * ratio)));
        int ink = 0;
        for (int y = band.top(); y <= band.bottom(); ++y) {
            for (int x = band.left(); x <= band.right(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                ink += std::abs(pixel.lightness() - text.lightness()) < 96 ? 1 : 0;
            }
        }
        EXPECT_GE(ink, 20) << name;
    }
}

TEST_F(WindowLookTest, PressedButtonKeepsItsFrame) {
    auto* button = control<QPushButton>("btnSair");
    button->setDown(true);
    expectFramed("btnSair", "pressionado");
    button->setDown(false);
}

} // namespace
} // namespace kalvian::test
