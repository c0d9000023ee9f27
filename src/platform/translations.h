#pragma once

class QApplication;

namespace zev {

// The program speaks Hungarian whatever the user's locale, and so do Qt's own dialogs, buttons
// and menus: Qt's Hungarian translations are installed when they are there (without them
// Qt's words stay English), and the default locale writes dates and numbers as Hungarian does.
void installQtTranslations(QApplication& app);

} // namespace zev
