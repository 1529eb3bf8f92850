#pragma once

class QApplication;

namespace kalvian {

// Start-up before the window is made: the application's title, and Qt's own texts (the buttons of the
// message boxes, the file dialogs) in Brazilian Portuguese whatever the user's locale. The regional
// settings stay the locale's. Qt's Portuguese translation (qtbase_pt_BR) is built into the program; false
// when it cannot be loaded: Qt's texts then stay in English.
bool startApplication(QApplication& application);

} // namespace kalvian
