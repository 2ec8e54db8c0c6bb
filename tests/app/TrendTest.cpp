// The trend window: F7 opens it beside the main window, with the texts of the
// language and the rows of the page; the keys of the main window act there
// too; and its plot paints each curve where the picture puts it.

#include <QComboBox>
#include <QFontMetrics>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "WindowFixture.h"
#include "app/CellColourQt.h"
#include "app/GlyphText.h"
#include "app/TrendForm.h"
#include "support/TrendReads.h"
#include "window/TrendPlot.h"

namespace {

TEST_F(WindowTest, F7OpensTheTrendWindowWhereTheMainWindowsKeysActToo) {
    auto& ecu = Ecu("COM1");
    Open();
    StartPolling(ecu);
    TrendForm* trend = form->TrendWindow;
    EXPECT_FALSE(trend->isVisible());
    QTest::keyClick(form.get(), Qt::Key_F7);
    ASSERT_TRUE(trend->isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(trend));
    EXPECT_TRUE(trend->screen()->availableGeometry().contains(trend->frameGeometry()));
    EXPECT_EQ(trend->windowTitle(), QString::fromUtf8("Тренд"));
    ASSERT_EQ(trend->Rows->count(), 16);
    EXPECT_TRUE(trend->Rows->item(0)->text().startsWith("NMOT"));
    EXPECT_EQ(trend->Rows->item(0)->checkState(), Qt::Checked);

    // A second row ticked in the list is plotted in the second colour.
    trend->Rows->item(3)->setCheckState(Qt::Checked);
    EXPECT_EQ(form->Behaviour().TrendOfPage().Chosen(), (std::vector<int>{0, 3}));
    form->Behaviour().Timer1Timer();
    form->Behaviour().Timer1Timer();
    const QImage plot = trend->Plot->grab().toImage();
    EXPECT_TRUE(HasColour(plot, plot.rect(), QtColour(TrendColour(0))));
    EXPECT_TRUE(HasColour(plot, plot.rect(), QtColour(TrendColour(1))));

    QTest::keyClick(trend, Qt::Key_F6);
    EXPECT_TRUE(form->Behaviour().Logging());
    QTest::keyClick(trend, Qt::Key_F6);
    EXPECT_FALSE(form->Behaviour().Logging());
    QTest::keyClick(trend, Qt::Key_F5);
    EXPECT_FALSE(form->Behaviour().Polling);
    // The page keys are the main window's: F2 there would end the trend.
    QTest::keyClick(trend->Rows, Qt::Key_F2);
    EXPECT_EQ(form->Behaviour().CurrentPage, 0);
    EXPECT_EQ(form->Behaviour().TrendOfPage().Chosen(), (std::vector<int>{0, 3}));

    // Every name whole in its list, in either language; the plot keeps its room.
    const auto namesFit = [&] {
        for (int row = 0; row < trend->Rows->count(); ++row) {
            const QRect item = trend->Rows->visualItemRect(trend->Rows->item(row));
            const int needed =
                trend->Rows->sizeHintForIndex(trend->Rows->model()->index(row, 0)).width();
            if (item.width() < needed || item.right() > trend->Rows->viewport()->width())
                return false;
        }
        return true;
    };
    QApplication::processEvents();
    EXPECT_TRUE(namesFit());
    const int plotWidth = trend->Plot->width();
    form->LanguageBtn->click();
    QApplication::processEvents();
    EXPECT_TRUE(namesFit());
    EXPECT_EQ(trend->Plot->width(), plotWidth);
    EXPECT_EQ(trend->windowTitle(), "Trend");
    EXPECT_EQ(trend->Period->itemText(1), "Last 5 minutes");
    trend->close();
    form->Behaviour().Timer1Timer();  // no longer drawn; nothing breaks
    form->close();
}

// A row rising through its range over the minute is drawn as a straight
// line, in its colour, from the bottom at its first read (a step of 10 s
// after the axis' start) to the top at the right edge, and nowhere far from it.
TEST(TrendPainting, TheCurveIsPaintedAlongItsLine) {
    const PlotRows ranged(0.0, 3000.0);
    const auto& rows = ranged.Rows;
    Trend trend = TrendFromGridLine({0});
    AddReads(trend, 0, 60, [](int second, int) { return second * 50.0; });
    TrendPlotView view(
        [&](int width, int height) { return PlotTrend(trend, rows, width, height, "."); }, nullptr);
    view.resize(800, 400);
    const QImage picture = view.grab().toImage();
    const QColor curve = QtColour(TrendColour(0));
    const int left = 8, right = 800 - TrendValueRoom;
    const int top = 8 + TrendLineHeight, bottom = 400 - 8 - TrendLineHeight;  // below the legend
    const int first = left + (right - left) / 7;  // 10 s of the 70 on the axis
    for (int x = first + 20; x < right - 20; x += 37) {
        const int y = bottom - (x - first) * (bottom - top) / (right - first);
        EXPECT_TRUE(HasColour(picture, QRect(x, y - 3, 1, 7), curve)) << x << "," << y;
        EXPECT_FALSE(HasColour(picture, QRect(x, y + 40, 1, 7), curve)) << x;
        EXPECT_FALSE(HasColour(picture, QRect(x, y - 46, 1, 7), curve)) << x;
    }
}

// At a tick only the areas that changed are painted anew: over the picture
// painted before, they must give the very pixels of the whole painted anew,
// curves, marks, values and all, with nothing of the old values left and
// the value that stayed whole.
TEST(TrendPainting, PaintingOnlyTheChangedAreasGivesTheWholePicture) {
    const PlotRows ranged(0.0, 100.0);
    const auto& rows = ranged.Rows;
    Trend trend = TrendFromGridLine({0, 1, 2});
    // Two rows that move, some of it out of range, and one that stays.
    const auto add = [&](int from, int to) {
        AddReads(trend, from, to, [](int second, int slot) {
            return slot < 2 ? (second * (slot + 3) * 7) % 130 - 10.0 : 50.0;
        });
    };
    const auto plot = [&](int width, int height) {
        return PlotTrend(trend, rows, width, height, ".");
    };
    TrendPlotView view(plot, nullptr);
    view.resize(800, 400);
    add(0, 52);
    view.Refresh();
    QImage shown(view.size(), QImage::Format_RGB32);
    view.render(&shown);

    const TrendPicture before = plot(800, 400);
    add(53, 58);
    const auto areas = ChangedAreas(before, plot(800, 400), 800);
    ASSERT_TRUE(areas.has_value());
    QRegion changed;
    for (const TrendArea& area : *areas) changed += QRect(area.X, area.Y, area.Width, area.Height);
    ASSERT_LT(changed.boundingRect().width(), 400);  // a part, not the whole
    view.Refresh();
    view.render(&shown, changed.boundingRect().topLeft(), changed);

    QImage whole(view.size(), QImage::Format_RGB32);
    view.render(&whole);
    EXPECT_EQ(shown, whole);
}

// Texts drawn glyph by glyph end where the font's own layout ends them, in
// Latin, Cyrillic and with signs; one with a character beyond the font's
// glyphs is drawn the ordinary way.
TEST(TrendPainting, TextsFromGlyphsAreAsWideAsTheFontLaysThemOut) {
    QFont font;
    font.setPixelSize(12);
    GlyphText glyphs(font);
    for (const QString& text :
         {QString("NMOT 1640 rpm"), QString::fromUtf8("TWAT 140,0 °C"),
          QString::fromUtf8("Обороты 931 об/мин"), QString::fromUtf8("x \U0001F600 y")}) {
        QImage image(400, 24, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.setPen(Qt::white);
        glyphs.Draw(painter, QPoint(2, 16), text);
        painter.end();
        int right = -1;
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (image.pixel(x, y) != qRgb(0, 0, 0)) right = x;
        const int expected = 2 + QFontMetrics(font).horizontalAdvance(text);
        EXPECT_NEAR(right, expected, 4) << text.toStdString();
    }
}

}  // namespace
