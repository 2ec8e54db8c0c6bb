#include "app/WindowMessages.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

void MessageBoxes::Show(const QString& text, Icon icon) {
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QString::fromUtf8(WindowView::MessageCaption), text, QMessageBox::Ok);
    box.exec();
}

void MessageBoxes::ShowNotice(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok);
    box.exec();
}

void MessageBoxes::OpenFile(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
