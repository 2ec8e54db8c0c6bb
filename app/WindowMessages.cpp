#include "app/WindowMessages.h"

#include <QMessageBox>

#include "app/QtText.h"
#include "lang/Lang.h"

void WindowMessages::ShowError(const std::string& text) {
    Show(FromCp1251(text), Icon::None);
}

void MessageBoxes::Show(const QString& text, Icon icon) {
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QString::fromUtf8(Lang::ErrorCaption), text, QMessageBox::Ok);
    box.exec();
}
