#include "app/Program.h"

#include <QApplication>
#include <exception>

#include "app/MainForm.h"
#include "app/QtText.h"
#include "app/WindowMessages.h"

int RunMainForm(WindowMessages& messages, const std::filesystem::path& directory) {
    try {
        TMainForm MainForm(messages, directory);
        MainForm.show();
        QApplication::exec();
        return 0;
    } catch (const std::exception& e) {
        // The core's texts are cp1251: an unconvertible Address is quoted as the file has it.
        messages.Show(FromCp1251(e.what()), WindowMessages::Icon::Error);
    } catch (...) {
        messages.Show(QString(), WindowMessages::Icon::Error);
    }
    return 1;
}
