// What the user reads: cell colours and fonts, value texts with the user's
// decimal separator, counters in their masked boxes, and the captions of
// both languages.

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include "WindowFixture.h"
#include "app/CounterBox.h"
#include "app/ListCellDelegate.h"

namespace {

class LookTest : public WindowTest {
protected:
    ~LookTest() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(LookTest, ValueCellsAreLimeOnBlackIn14PointsTheOthersBlackOnButtonFace) {
    auto& ecu = Ecu("COM1");
    Open();
    StartPolling(ecu);
    QTableWidget* list = form->ListView1;
    auto* delegate = static_cast<ListCellDelegate*>(list->itemDelegate());
    const QImage picture = list->grab().toImage();
    for (int column = 0; column < 4; ++column) {
        QStyleOptionViewItem option;
        option.initFrom(list);
        option.font = list->font();  // as the list hands it to the delegate
        delegate->initStyleOption(&option, list->model()->index(7, column));
        const bool value = column == 2;
        const QColor background =
            value ? Qt::black : QApplication::palette().color(QPalette::Button);
        EXPECT_EQ(option.backgroundBrush.color(), background);
        EXPECT_EQ(option.palette.color(QPalette::Disabled, QPalette::Text),
                  value ? QColor(0, 255, 0) : QColor(Qt::black));
        EXPECT_EQ(option.font.pointSize(), value ? 14 : 12);
        EXPECT_TRUE(option.font.bold());
        EXPECT_EQ(option.font.family(), "Times New Roman");
        // As painted, on the disabled list: the background at the cell's
        // corner, and the text's colour somewhere inside it.
        const QRect cell = list->visualRect(list->model()->index(7, column))
                               .translated(list->viewport()->mapTo(list, QPoint(0, 0)));
        EXPECT_EQ(picture.pixelColor(cell.bottomRight() - QPoint(2, 2)), background) << column;
        const QColor text = value ? QColor(0, 255, 0) : QColor(Qt::black);
        bool textPainted = false;
        for (int x = cell.left(); x < cell.right() && !textPainted; ++x)
            for (int y = cell.top(); y < cell.bottom() && !textPainted; ++y)
                textPainted = picture.pixelColor(x, y) == text;
        EXPECT_TRUE(textPainted) << column;
    }
}

// Whether some pixel of a cell has the colour (its last column and row, the
// grid's, left out).
bool Painted(const QImage& picture, const QRect& cell, const QColor& colour) {
    return HasColour(picture, cell.adjusted(0, 0, -1, -1), colour);
}

// A failed read greys the list's values (still on black) until its next good
// read; the lime comes back with it.
TEST_F(LookTest, AFailedReadPaintsTheValuesGreyUntilTheNextGoodRead) {
    auto& ecu = Ecu("COM1");
    Open();
    StartPolling(ecu);
    QTableWidget* list = form->ListView1;
    const QRect cell = list->visualRect(list->model()->index(0, 2))
                           .translated(list->viewport()->mapTo(list, QPoint(0, 0)));
    const QColor lime(0, 255, 0), grey(128, 128, 128);
    SimFaults faults;
    faults.Unanswered = {0x84};
    ecu.SetFaults(faults);
    form->Behaviour().Timer1Timer();
    QImage picture = list->grab().toImage();
    EXPECT_TRUE(Painted(picture, cell, grey));
    EXPECT_FALSE(Painted(picture, cell, lime));
    EXPECT_EQ(picture.pixelColor(cell.bottomRight() - QPoint(2, 2)), QColor(Qt::black));
    ecu.SetFaults({});
    form->Behaviour().Timer1Timer();
    picture = list->grab().toImage();
    EXPECT_TRUE(Painted(picture, cell, lime));
    EXPECT_FALSE(Painted(picture, cell, grey));
}

// A value outside its definition's range is painted in the warning colour
// while it is; a stale list is grey all the same.
TEST_F(LookTest, AValueOutOfRangeIsPaintedInTheWarningColour) {
    auto& ecu = Ecu("COM1");
    ecu.SetLiveValue(0x0100, 4 * 3100);  // NMOT, 0 to 3000 rpm
    Open();
    StartPolling(ecu);
    QTableWidget* list = form->ListView1;
    const auto cell = [&](int row) {
        return list->visualRect(list->model()->index(row, 2))
            .translated(list->viewport()->mapTo(list, QPoint(0, 0)));
    };
    const QColor lime(0, 255, 0), warning(255, 80, 0), grey(128, 128, 128);
    QImage picture = list->grab().toImage();
    EXPECT_TRUE(Painted(picture, cell(0), warning));
    EXPECT_FALSE(Painted(picture, cell(0), lime));
    EXPECT_TRUE(Painted(picture, cell(1), lime));
    SimFaults faults;
    faults.Unanswered = {0x84};
    ecu.SetFaults(faults);
    form->Behaviour().Timer1Timer();
    picture = list->grab().toImage();
    EXPECT_TRUE(Painted(picture, cell(0), grey));
    EXPECT_FALSE(Painted(picture, cell(0), warning));
    ecu.SetFaults({});
    ecu.SetLiveValue(0x0100, 4 * 1000);
    form->Behaviour().Timer1Timer();
    picture = list->grab().toImage();
    EXPECT_TRUE(Painted(picture, cell(0), lime));
    EXPECT_FALSE(Painted(picture, cell(0), warning));
}

TEST_F(LookTest, ValuesHaveTheirDecimalsAndTheUsersSeparator) {
    WriteBytes(folder / "database.ini",
               "[Configuration]\r\nLanguage=EN\r\n"
               "[0000]\r\nAddress=0100\r\nFormula=X/10\r\nDigits=0\r\n"
               "[0001]\r\nAddress=0102\r\nSigned=1\r\nFormula=X/10\r\nDigits=2\r\n");
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    auto& ecu = Ecu("COM1");
    ecu.SetLiveValue(0x0100, 126);
    ecu.SetLiveValue(0x0102, 0xFFFB);  // -5
    ecu.SetLiveValue(0x0000, 7);       // the address of every other definition
    Open();
    StartPolling(ecu);
    EXPECT_EQ(Value(form->ListView1, 0), "13");
    EXPECT_EQ(Value(form->ListView1, 1), "-0,50");
    EXPECT_EQ(Value(form->ListView1, 2), "7");
}

// The behaviour lays the counter out; the masked box must show it as laid.
TEST_F(LookTest, CountersShowTheirDigitsAndColonInOrder) {
    Open();
    QLineEdit& box = *form->MaskEdits[0];
    for (const char* text : {"18:11", "4094:45", "25", "0:8", ""}) {
        const CounterText counter = PlaceCounter(text);
        ShowCounter(box, counter);
        EXPECT_EQ(box.displayText().toStdString(), counter.Shown) << text;
    }
}

// Every text the language sets, in the order ApplyLanguage sets them: each
// reaches the control the layout gives it.
QStringList Captions(const TMainForm& form) {
    QStringList captions{form.LanguageBtn->text(), form.Button1->text(), form.Button2->text()};
    for (int page = 0; page < 4; ++page) captions << form.PageControl1->tabText(page);
    for (QTableWidget* list : {form.ListView1, form.ListView2})
        for (int column = 0; column < 4; ++column)
            captions << list->horizontalHeaderItem(column)->text();
    for (QLabel* label : form.EditLabels) captions << label->text();
    for (QLabel* label : form.Labels) captions << label->text();
    return captions;
}

TEST_F(LookTest, TwoLanguageClicksRestoreEveryCaption) {
    Open();
    const QStringList russian = Captions(*form);
    EXPECT_EQ(russian.first(), "English");
    form->LanguageBtn->click();
    const QStringList english = Captions(*form);
    EXPECT_EQ(english.mid(0, 7),
              QStringList({"Russian", "Start F5", "Reset Errors F8", "1 Set ( F1 )", "2 Set ( F2 )",
                           "Errors ( F3 )", "ECU information( F4 )"}));
    EXPECT_EQ(english[15], "Vehicle Identification Number");
    EXPECT_EQ(english.last(), "Rack zero position SRPOS");
    EXPECT_EQ(english[16], "Program version");
    EXPECT_EQ(english[20], "Date of last programming");
    EXPECT_EQ(english[23], "Whole working time");
    EXPECT_EQ(english[11], "Code");  // ListView2's first header
    form->LanguageBtn->click();
    EXPECT_EQ(Captions(*form), russian);
}

}  // namespace
