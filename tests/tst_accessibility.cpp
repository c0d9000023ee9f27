// The window as assistive technology reads and drives it, through QAccessible.
#include "formtesting.h"
#include "sheetfacts.h"
#include "ui/clickediting.h"

#include <QAccessible>
#include <QLineEdit>
#include <QTemporaryDir>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <private/qguiapplication_p.h>

using namespace zev;
using namespace zev::testing;

namespace {

QStringList heard; // what the last actions told assistive technology, one line per event

void listen(QAccessibleEvent* event) {
    QAccessibleInterface* item = event->accessibleInterface();
    if (event->type() == QAccessible::ValueChanged) {
        heard << QStringLiteral("value %1 %2")
                     .arg(item->text(QAccessible::Name),
                          static_cast<QAccessibleValueChangeEvent*>(event)->value().toString());
    } else if (event->type() == QAccessible::Focus) {
        heard << QStringLiteral("focus %1").arg(item->text(QAccessible::Name));
    } else if (event->type() == QAccessible::NameChanged) {
        heard << QStringLiteral("name %1").arg(item->text(QAccessible::Name));
    } else if (item != nullptr && item->role() == QAccessible::Notification) { // 6.8: announced
        heard << QStringLiteral("notice %1").arg(item->text(QAccessible::Name));
    }
}

QAccessibleInterface* sheetOf(Form1& form) {
    return QAccessible::queryAccessibleInterface(form.surface());
}

// Drawing order: each group's traits, then its total.
QAccessibleInterface* traitItem(Form1& form, int index) {
    const int groupsBefore = index < 9 ? index / 3 : 3 + (index - 9) / 10;
    return sheetOf(form)->child(index + groupsBefore);
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QAccessible::installUpdateHandler(listen);
        QPlatformAccessibility* platform =
            QGuiApplicationPrivate::platformIntegration()->accessibility();
        QVERIFY2(platform != nullptr, "this platform has no accessibility");
        platform->setActive(true);
        QVERIFY2(QAccessible::isActive(), "this platform cannot make accessibility active");
    }
    void init() { heard.clear(); }
    void windowNameBoxAndSheetAsTheyAreRead();
    void releasesAreHeardOnlyWhenAValueChanges_data();
    void releasesAreHeardOnlyWhenAValueChanges();
    void actionsAreReleasesOverTheRow_data();
    void actionsAreReleasesOverTheRow();
    void settingAValueStepsThere_data();
    void settingAValueStepsThere();
    void theCurrentTraitHasTheFocus();
    void openedSheetIsReadNotToldAsChanges();
};

void TestAccessibility::windowNameBoxAndSheetAsTheyAreRead() {
    auto form = shownForm();
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form.get());
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), QStringLiteral("ZEV"));
    QTest::keyClicks(form->Text1(), QStringLiteral("Kovacs"));
    QCOMPARE(QAccessible::queryAccessibleInterface(form->Text1())->text(QAccessible::Name),
             QStringLiteral("Karakter neve"));

    form->sheet().setRating(7, 4);  // intelligencia
    form->sheet().setRating(30, 2); // Computer
    form->cucc();
    const QStringList totals{
        "erő – állóképesség összesen: 0",        "karizma – megjelenés összesen: 0",
        "észlelés – érzék összesen: 3",          "Éberség – Rászedés összesen: 0",
        "Állatszelidítés – Túlélés összesen: 0", "Academics – Term.tudományok összesen: 2"};
    QAccessibleInterface* sheet = sheetOf(*form);
    QCOMPARE(sheet->childCount(), 46);
    int child = 0;
    int index = 0;
    for (int group = 0; group < 6; ++group) {
        for (const int end = index + (group < 3 ? 3 : 10); index < end; ++index, ++child) {
            QAccessibleInterface* item = sheet->child(child);
            QCOMPARE(sheet->indexOfChild(item), child);
            QCOMPARE(item->role(), QAccessible::Slider);
            QVERIFY(item->state().focusable);
            QCOMPARE(item->text(QAccessible::Name), facts::name(index));
            const QAccessibleValueInterface* value = item->valueInterface();
            QCOMPARE(value->currentValue().toInt(), form->sheet().rating(index));
            QCOMPARE(value->minimumValue().toInt(), facts::floor(index));
            QCOMPARE(value->maximumValue().toInt(), 5);
            QCOMPARE(item->childCount(), 0);
            QCOMPARE(item->child(0), nullptr);
            const QPoint origin = form->surface()->mapToGlobal(QPoint());
            const QRect r = item->rect().translated(-origin);
            const PointScale s = form->surface()->scale();
            for (const QPoint p : {r.topLeft(), r.bottomRight()}) { // a release there hits it
                QCOMPARE(TraitAt(s.pointsFromPixels(p.x()), s.pointsFromPixels(p.y())), index);
                QCOMPARE(item->textInterface()->offsetAtPoint(p + origin), 0); // the whole row
            }
            QCOMPARE(item->textInterface()->text(0, 99),
                     facts::name(index) + ' ' + QString::number(value->currentValue().toInt()));
        }
        QAccessibleInterface* total = sheet->child(child++);
        QCOMPARE(total->role(), QAccessible::StaticText);
        QVERIFY(!total->state().focusable);
        QCOMPARE(total->text(QAccessible::Name), totals.at(group));
    }
    QCOMPARE(sheet->child(child)->role(), QAccessible::Notification); // the notice comes last
    QVERIFY(!sheet->child(child)->state().focusable);
    QCOMPARE(sheet->child(child + 1), nullptr);
    QCOMPARE(sheet->child(-1), nullptr);
    QVERIFY2(heard.contains(QStringLiteral("value intelligencia 4")), qPrintable(heard.join('\n')));
    form->hide();
    QVERIFY(sheet->child(0)->state().invisible);
}

void TestAccessibility::releasesAreHeardOnlyWhenAValueChanges_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("left on erő") << int(Qt::LeftButton) << QPointF(50, 5)
                                 << QStringList{"value erő 2",
                                                "name erő – állóképesség összesen: 1",
                                                "notice erő 2, összesen: 1"};
    QTest::newRow("left on Nyomozás")
        << int(Qt::LeftButton) << QPointF(120, 65)
        << QStringList{"value Nyomozás 1", "name Állatszelidítés – Túlélés összesen: 1",
                       "notice Nyomozás 1, összesen: 1"};
    QTest::newRow("left on Éberség, the first row after the attributes' totals")
        << int(Qt::LeftButton) << QPointF(50, 55)
        << QStringList{"value Éberség 1", "name Éberség – Rászedés összesen: 1",
                       "notice Éberség 1, összesen: 1"};
    QTest::newRow("right on an attribute at its floor")
        << int(Qt::RightButton) << QPointF(150, 15) << QStringList{};
    QTest::newRow("left on a trait at 5")
        << int(Qt::LeftButton) << QPointF(250, 5) << QStringList{};
    QTest::newRow("middle") << int(Qt::MiddleButton) << QPointF(50, 5) << QStringList{};
    QTest::newRow("left between the columns")
        << int(Qt::LeftButton) << QPointF(95, 5) << QStringList{};
}

void TestAccessibility::releasesAreHeardOnlyWhenAValueChanges() {
    QFETCH(int, button);
    QFETCH(QPointF, at);
    QFETCH(QStringList, expected);
    auto form = shownForm();
    form->sheet().setRating(6, 5); // észlelés, under (250, 5)
    form->cucc();
    heard.clear();
    clickAt(*form, Qt::MouseButton(button), float(at.x()), float(at.y()));
    QCOMPARE(heard, expected);
}

void TestAccessibility::actionsAreReleasesOverTheRow_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("start");
    for (int index = 0; index < 39; ++index) {
        for (int start : {facts::floor(index), 3, 5}) {
            QTest::addRow("%s from %d", qPrintable(facts::name(index)), start) << index << start;
        }
    }
}

// The same sheet and the same drawing after an action as after the matching mouse release.
void TestAccessibility::actionsAreReleasesOverTheRow() {
    QFETCH(int, index);
    QFETCH(int, start);
    const facts::TraitRow& row = facts::kTraits.at(size_t(index));
    for (const auto& [action, button] :
         {std::pair{QAccessibleActionInterface::increaseAction(), Qt::LeftButton},
          std::pair{QAccessibleActionInterface::decreaseAction(), Qt::RightButton}}) {
        auto acted = shownForm();
        auto clicked = shownForm();
        for (Form1* form : {acted.get(), clicked.get()}) {
            form->sheet().setRating(index, Rating(start));
            form->cucc();
        }
        QCOMPARE(sheetOf(*clicked)->indexOfChild(traitItem(*acted, index)), -1); // not its own
        traitItem(*acted, index)->actionInterface()->doAction(action);
        clickAt(*clicked, button, row.x + 7.0F, row.y + 2.0F);
        QCOMPARE(acted->sheet(), clicked->sheet());
        QCOMPARE(acted->surface()->printed(), clicked->surface()->printed());
        const int expected = button == Qt::LeftButton ? std::min(start + 1, 5)
                                                      : std::max(start - 1, facts::floor(index));
        QCOMPARE(int(acted->sheet().rating(index)), expected);
    }
}

void TestAccessibility::settingAValueStepsThere_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("values"); // announced on the way, one per release
    QTest::newRow("up") << 20 << 0 << 3 << QStringList{"Nyomozás 1", "Nyomozás 2", "Nyomozás 3"};
    QTest::newRow("down to the floor") << 0 << 4 << 1 << QStringList{"erő 3", "erő 2", "erő 1"};
    QTest::newRow("above 5") << 38 << 3 << 9
                             << QStringList{"Term.tudományok 4", "Term.tudományok 5"};
    QTest::newRow("below the floor")
        << 7 << 3 << -2 << QStringList{"intelligencia 2", "intelligencia 1"};
    QTest::newRow("the value it has") << 30 << 2 << 2 << QStringList{};
}

void TestAccessibility::settingAValueStepsThere() {
    QFETCH(int, index);
    QFETCH(int, start);
    QFETCH(int, target);
    QFETCH(QStringList, values);
    auto form = shownForm();
    form->sheet().setRating(index, Rating(start));
    form->cucc();
    heard.clear();
    traitItem(*form, index)->valueInterface()->setCurrentValue(target);
    QCOMPARE(heard.filter(QStringLiteral("value "))
                 .replaceInStrings(QStringLiteral("value "), QString()),
             values);
}

// Tab gives the focus to the current trait, after the sheet's own; the arrows move it (an arrow
// that meets the edge is not heard again), and "+" is heard as a release is.
void TestAccessibility::theCurrentTraitHasTheFocus() {
    auto form = shownForm();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    heard.clear();
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Left, Qt::Key_Down, Qt::Key_Plus}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        QCoreApplication::processEvents();
    }
    QCOMPARE(heard, (QStringList{"focus Mentés", "focus ", "focus erő", "focus ügyesség",
                                 "value ügyesség 2", "name erő – állóképesség összesen: 1",
                                 "notice ügyesség 2, összesen: 1"}));
    QCOMPARE(sheetOf(*form)->focusChild(), traitItem(*form, 1));
    for (int position = 0; position < 46; ++position) {
        QCOMPARE(sheetOf(*form)->child(position)->state().focused, position == 1);
    }
    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Right}) { // past the first column's total
        QTest::keyClick(QApplication::focusWidget(), key);
    }
    QCOMPARE(sheetOf(*form)->focusChild(), traitItem(*form, 3));
    heard.clear(); // on, back and on again, faster than the trait's focus can follow
    for (const Qt::KeyboardModifier shift : {Qt::NoModifier, Qt::ShiftModifier, Qt::NoModifier}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, shift);
    }
    QCoreApplication::processEvents();
    QCOMPARE(heard, (QStringList{"focus Karakter neve", "focus ", "focus Karakter neve"}));
    QVERIFY(!traitItem(*form, 3)->state().focused);
    QCOMPARE(sheetOf(*form)->focusChild(), nullptr);
}

void TestAccessibility::openedSheetIsReadNotToldAsChanges() {
    const QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("t.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly) &&
            file.write(QByteArray("3\n").repeated(9) + QByteArray("2\n").repeated(30)) > 0);
    file.close();
    Form1 form;
    form.Form_Load();
    form.openNamedFile(QFile::encodeName(file.fileName()));
    form.show();
    form.Timer1_Timer();
    QCOMPARE(traitItem(form, 38)->valueInterface()->currentValue().toInt(), 2);
    // Only the controls' names are heard as the window shows, none of the sheet's changes.
    QVERIFY2(!heard.join(u'\n').contains(QStringLiteral("erő")), qPrintable(heard.join(u'\n')));
    // Another sheet opened in the window: its values, and what opened, in words.
    QVERIFY(file.open(QIODevice::ReadWrite) && file.write("4\n") > 0); // erő only
    file.close();
    heard.clear();
    form.openAnotherSheet(QFile::encodeName(file.fileName()));
    QCOMPARE(heard, QStringList({"value erő 4", "name erő – állóképesség összesen: 7",
                                 "notice t megnyitva"}));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
