#include "app/WindowMessages.h"

#include <QMessageBox>

void MessageBoxes::Show(const QString& text, Icon icon) {
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QString::fromUtf8(WindowView::MessageCaption), text, QMessageBox::Ok);
    box.exec();
}
