// The main window end to end on the offscreen platform: its layout, its keys
// and its handlers, over temporary copies of the edge and demo price lists.
#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <memory>

#include "app/Application.h"
#include "pricelist/DataSource.h"
#include "pricelist/Query.h"
#include "pricing/Percentages.h"
#include "pricing/RegionalSeparators.h"
#include "settings/IniFile.h"
#include "ui/ConfirmationDialog.h"
#include "ui/DataGrid.h"
#include "ui/ErrorBox.h"
#include "ui/ImageButton.h"
#include "ui/InformationDialog.h"
#include "ui/UfrmDorvak.h"
#include "ui/UrlOpener.h"

using namespace dorvak;

namespace {

struct Shown {
    QString caption;
    QString text;
    bool windowWasExposed = false;
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QApplication::setStyle(QStringLiteral("Windows"));
        RegionalSeparators::apply(QLocale(QLocale::Croatian, QLocale::Croatia));
        ErrorBox::setAnswererForTesting([this](const QString& caption, const QString& text) {
            errors_.push_back(
                {caption, text,
                 window_ && window_->windowHandle() && window_->windowHandle()->isExposed()});
        });
        InformationDialog::setAnswererForTesting(
            [this](const QString&, const QString& text) { notices_ << text; });
        ConfirmationDialog::setAnswererForTesting([this](const QString&, const QString& question) {
            questions_ << question;
            return confirm_;
        });
        UrlOpener::setOpenerForTesting([this](const QString& target) { opened_ << target; });
    }

    void init() {
        errors_.clear();
        notices_.clear();
        questions_.clear();
        opened_.clear();
        confirm_ = false;
        DiscountPercent = 0;
        VatPercent = 0;
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        QVERIFY(QFile::copy(QStringLiteral(DORVAK_TEST_DATA "/edge/Dorvak.mdb"),
                            dir_->filePath(QStringLiteral("Dorvak.mdb"))));
        QFile::setPermissions(dir_->filePath(QStringLiteral("Dorvak.mdb")),
                              QFile::ReadOwner | QFile::WriteOwner);
        writeSettings(QStringLiteral("[Postavke]\nwww=http://www.dorvak.hr\nRabat=10\nPDV=25\n"));
        SetSettingsDirectoryForTesting(dir_->path().toStdString());
        QVERIFY(QDir::setCurrent(dir_->path()));
        writeLogo(300, 20);
    }

    void cleanup() {
        window_.reset();
        QDir::setCurrent(QDir::tempPath());
        SetSettingsDirectoryForTesting({});
        dir_.reset();
    }

    // --- layout ---------------------------------------------------------

    void stripsAndControlsStandWhereTheFormPutsThem_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        // Strips in the content's coordinates, controls in their strip's.
        QTest::newRow("iLogo") << "iLogo" << QRect(0, 0, 797, 12);
        QTest::newRow("Panel4") << "Panel4" << QRect(0, 12, 797, 22);
        QTest::newRow("Panel1") << "Panel1" << QRect(0, 34, 797, 53);
        QTest::newRow("DBGrid1") << "DBGrid1" << QRect(0, 87, 797, 443);
        QTest::newRow("Panel2") << "Panel2" << QRect(0, 530, 797, 53);
        QTest::newRow("Panel3") << "Panel3" << QRect(0, 583, 797, 53);
        QTest::newRow("DBText1") << "DBText1" << QRect(544, 376, 65, 17);
        QTest::newRow("eTrazi") << "eTrazi" << QRect(136, 6, 225, 40);
        QTest::newRow("iOK") << "iOK" << QRect(368, 11, 102, 29);
        QTest::newRow("eRabat") << "eRabat" << QRect(569, 6, 33, 24);
        QTest::newRow("iIzlaz") << "iIzlaz" << QRect(669, 11, 102, 29);
    }
    void stripsAndControlsStandWhereTheFormPutsThem() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFile::remove(QStringLiteral("logo.jpg"));
        showWindow();
        QCOMPARE(widget(name)->geometry(), geometry);
    }

    void labelsKeepTheirAnchoredEdges() {
        showWindow();
        QCOMPARE(widget("Label1")->pos(), QPoint(23, 19));
        QCOMPARE(widget("Label2")->pos(), QPoint(536, 11));
        QCOMPARE(widget("Label3")->pos(), QPoint(637, 11));
        QCOMPARE(widget("Label4")->pos(), QPoint(673, 26));
        QCOMPARE(widget("lwww")->geometry().right() + 1, 766);
        QCOMPARE(widget("lwww")->y(), 2);
        QCOMPARE(widget("lCijenaRab")->geometry().right() + 1, 770);
        QCOMPARE(widget("lMPC")->geometry().right() + 1, 770);
        QCOMPARE(label("lCijenaRab")->text(), QStringLiteral("0,00"));
        QCOMPARE(label("Label2")->text(), QStringLiteral("rabat              %"));
    }

    void theWindowHasItsCaptionSizeAndOnlyACloseButton() {
        showWindow();
        QCOMPARE(window_->windowTitle(), QStringLiteral("Dorvak dijelova"));
        QCOMPARE(window_->size(), QSize(797, 636));
        const Qt::WindowFlags flags = window_->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QCOMPARE(window_->palette().color(QPalette::Window), QColor(Qt::white));
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        QCOMPARE(window_->pos(), QPoint(std::max(0, (screen.width() - 813) / 2),
                                        std::max(0, (screen.height() - 674) / 2)));
    }

    void aTallLogoPushesTheStripsDownAndShrinksTheGrid() {
        showWindow();
        QCOMPARE(widget("iLogo")->height(), 300);
        QCOMPARE(widget("Panel4")->y(), 300);
        QCOMPARE(widget("Panel1")->y(), 322);
        QCOMPARE(widget("DBGrid1")->geometry(), QRect(0, 375, 797, 155));
        QVERIFY(!scrollBox()->verticalScrollBar()->isVisible());
    }

    void aLogoTallerThanTheWindowScrollsAndLeavesNoGrid() {
        writeLogo(600, 40);
        showWindow();
        QCOMPARE(widget("content")->height(), 600 + 22 + 53 + 106);
        QVERIFY(scrollBox()->verticalScrollBar()->isVisible());
        QCOMPARE(widget("DBGrid1")->height(), 0);
        QCOMPARE(widget("Panel3")->geometry().bottom() + 1, 781);
    }

    void aNarrowWindowScrollsSidewaysAndKeepsTheStripsAtTheMinimumWidth() {
        showWindow();
        window_->resize(500, 636);
        QTRY_VERIFY(scrollBox()->horizontalScrollBar()->isVisible());
        QCOMPARE(widget("content")->width(), 609);
        QCOMPARE(widget("Panel3")->width(), 609);
        QCOMPARE(widget("iIzlaz")->x(), 669);
        QCOMPARE(widget("lMPC")->geometry().right() + 1, 770);
    }

    void theCodeLabelShowsRightOfANarrowTallLogo() {
        writeLogo(400, 300);
        showWindow();
        QCOMPARE(widget("Panel1")->y(), 422);
        search("AB1");
        QCOMPARE(label("DBText1")->text(), QStringLiteral("AB1"));
        // Nothing of this window covers the code label's place.
        const QPoint centre = widget("DBText1")->geometry().center();
        QCOMPARE(widget("content")->childAt(centre), widget("DBText1"));
    }

    void theGridShowsItsTitlesAndColumns() {
        showWindow();
        auto* grid = this->grid();
        QAbstractItemModel* model = grid->model();
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Šifra"));
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Naziv"));
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("VPC kn"));
        QCOMPARE(grid->columnWidth(0), 123);
        QCOMPARE(grid->columnWidth(1), 544);
        QCOMPARE(grid->columnWidth(2), 94);
        QVERIFY(!grid->verticalHeader()->isVisible());
        QCOMPARE(model->rowCount(), 0);
        search("AB1");
        QCOMPARE(model->index(0, 2).data().toString(), QStringLiteral("3,00"));
        QVERIFY(model->index(0, 2).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                Qt::AlignRight);
        QVERIFY(model->index(0, 2).data(Qt::FontRole).value<QFont>().bold());
        QVERIFY(!model->index(0, 1).data(Qt::FontRole).value<QFont>().bold());
    }

    void theSearchBarIsGreyAndTheLinkIsNavy() {
        showWindow();
        const QImage shot = window_->grab().toImage();
        const QPoint inSearchBar = widget("Panel1")->mapTo(window_.get(), QPoint(5, 45));
        QCOMPARE(QColor(shot.pixel(inSearchBar)), QColor(0xDD, 0xDD, 0xDD));
        const QPoint besideLogo = widget("iLogo")->mapTo(window_.get(), QPoint(700, 100));
        QCOMPARE(QColor(shot.pixel(besideLogo)), QColor(Qt::white));
        QCOMPARE(label("lwww")->palette().color(QPalette::WindowText), QColor(0, 0, 0x80));
        QVERIFY(label("lwww")->font().underline());
        QCOMPARE(label("lwww")->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(lineEdit("eTrazi")->font().pixelSize(), 27);
        QCOMPARE(lineEdit("eRabat")->font().pixelSize(), 13);
        QVERIFY(label("Label1")->font().bold());
        QCOMPARE(label("Label1")->font().pixelSize(), 11);
    }

    void izlazTurnsGreenUnderTheMouse() {
        showWindow();
        auto* button = qobject_cast<ImageButton*>(widget("iIzlaz"));
        QTest::mouseMove(button, button->rect().center());
        QTRY_VERIFY(button->isHot());
        const QImage hot = button->grab().toImage();
        bool green = false;
        for (int y = 0; y < hot.height() && !green; ++y)
            for (int x = 0; x < hot.width() && !green; ++x)
                green = QColor(hot.pixel(x, y)) == QColor(0x33, 0xA7, 0x81);
        QVERIFY(green);
        QTest::mouseMove(window_.get(), QPoint(5, 300));
        QTRY_VERIFY(!button->isHot());
    }

    // --- focus and keys ---------------------------------------------------

    void tabRunsThroughTheControlsAndStaysInTheGrid() {
        showWindow();
        QCOMPARE(QApplication::focusWidget(), widget("eTrazi"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), widget("iOK"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), widget("DBGrid1"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), widget("DBGrid1"));

        widget("iIzlaz")->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), widget("eRabat"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), widget("eTrazi"));
    }

    void gridKeysNotifyByTheDataSourceRules() {
        showWindow();
        search("FIL-01");
        QCOMPARE(query()->recordCount(), 100);
        auto* dts = window_->findChild<DataSource*>(QStringLiteral("dtsDorvak"));
        QVERIFY(dts);
        QSignalSpy notified(dts, &DataSource::dataChange);
        grid()->setFocus();

        QTest::keyClick(grid(), Qt::Key_Up);  // already at the beginning
        QCOMPARE(notified.count(), 0);
        QTest::keyClick(grid(), Qt::Key_Down);
        QCOMPARE(notified.count(), 1);
        QCOMPARE(query()->recNo(), 2);
        QTest::keyClick(grid(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(notified.count(), 2);
        QCOMPARE(query()->recNo(), 100);
        QCOMPARE(grid()->currentIndex().row(), 99);
        QTest::keyClick(grid(), Qt::Key_Down);  // going to the last row set at-end
        QCOMPARE(notified.count(), 2);
        QTest::keyClick(grid(), Qt::Key_Up);
        QTest::keyClick(grid(), Qt::Key_Down);  // back onto the last row
        QCOMPARE(notified.count(), 4);
        QTest::keyClick(grid(), Qt::Key_Down);  // runs into the end: notifies, stays
        QCOMPARE(notified.count(), 5);
        QCOMPARE(query()->recNo(), 100);
        QTest::keyClick(grid(), Qt::Key_Down);  // at-end: nothing
        QCOMPARE(notified.count(), 5);
        QTest::keyClick(grid(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(notified.count(), 6);
        QCOMPARE(query()->recNo(), 1);
        QTest::keyClick(grid(), Qt::Key_PageDown);
        QCOMPARE(notified.count(), 7);
        QCOMPARE(query()->recNo(), 1 + grid()->visibleRowCount());
        QTest::keyClick(grid(), Qt::Key_Right);
        QTest::keyClick(grid(), Qt::Key_Home);
        QCOMPARE(notified.count(), 7);
    }

    void escapeEndsTheProgramFromAnyControl_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("search box") << "eTrazi" << int(Qt::NoModifier);
        QTest::newRow("grid") << "DBGrid1" << int(Qt::NoModifier);
        QTest::newRow("discount box") << "eRabat" << int(Qt::NoModifier);
        QTest::newRow("search button") << "iOK" << int(Qt::NoModifier);
        QTest::newRow("exit button, shift held") << "iIzlaz" << int(Qt::ShiftModifier);
    }
    void escapeEndsTheProgramFromAnyControl() {
        QFETCH(QString, focus);
        QFETCH(int, modifiers);
        showWindow();
        widget(focus)->setFocus(Qt::OtherFocusReason);
        QCOMPARE(runLoopWhile([&] {
                     QTest::keyClick(widget(focus), Qt::Key_Escape,
                                     Qt::KeyboardModifiers(modifiers));
                 }),
                 0);
    }

    void closingTheWindowEndsTheLoop() {
        showWindow();
        QApplication::setQuitOnLastWindowClosed(true);
        QCOMPARE(runLoopWhile([&] { window_->close(); }), 0);
    }

    // --- start-up ---------------------------------------------------------

    void startUpLoadsTheLinkAndThePercentages() {
        showWindow();
        QVERIFY(errors_.isEmpty());
        QCOMPARE(label("lwww")->text(), QStringLiteral("http://www.dorvak.hr"));
        QCOMPARE(lineEdit("eRabat")->text(), QStringLiteral("10"));
        QCOMPARE(DiscountPercent, 10.0);
        QCOMPARE(VatPercent, 25.0);
    }

    void aMissingLogoIsReportedBeforeTheWindowAndSkipsTheSettings() {
        QFile::remove(QStringLiteral("logo.jpg"));
        showWindow();
        QCOMPARE(errors_.size(), 1);
        // The application title, derived from this executable's name.
        QCOMPARE(errors_.at(0).caption, QStringLiteral("Mainwindowtest"));
        QCOMPARE(errors_.at(0).text,
                 QStringLiteral("Cannot open file \"%1\". No such file or directory.")
                     .arg(QDir(dir_->path()).filePath(QStringLiteral("logo.jpg"))));
        QVERIFY(!errors_.at(0).windowWasExposed);
        QVERIFY(window_->isVisible());
        QCOMPARE(widget("iLogo")->height(), 12);
        QCOMPARE(label("lwww")->text(), QString());
        QCOMPARE(lineEdit("eRabat")->text(), QStringLiteral("0"));
        QCOMPARE(DiscountPercent, 0.0);
        QCOMPARE(VatPercent, 0.0);
        search("AB1");
        QCOMPARE(label("lCijenaRab")->text(), QStringLiteral("3,00"));
        QCOMPARE(label("lMPC")->text(), QStringLiteral("3,00"));
    }

    void aLogoThatIsNoJpegIsAJpegError() {
        QFile logo(QStringLiteral("logo.jpg"));
        QVERIFY(logo.open(QIODevice::WriteOnly | QIODevice::Truncate));
        logo.write("GIF89a, not a JPEG at all");
        logo.close();
        showWindow();
        QCOMPARE(errors_.size(), 1);
        QVERIFY2(QRegularExpression(QStringLiteral("^JPEG error #\\d+\\.$"))
                     .match(errors_.at(0).text)
                     .hasMatch(),
                 qPrintable(errors_.at(0).text));
        QCOMPARE(widget("iLogo")->height(), 12);
    }

    void anEmptyLogoIsNoPictureAndNoError() {
        QFile logo(QStringLiteral("logo.jpg"));
        QVERIFY(logo.open(QIODevice::WriteOnly | QIODevice::Truncate));
        logo.close();
        showWindow();
        QVERIFY(errors_.isEmpty());
        QCOMPARE(widget("iLogo")->height(), 12);
        QCOMPARE(lineEdit("eRabat")->text(), QStringLiteral("10"));
    }

    // --- behaviour --------------------------------------------------------

    void aTypicalRun() {
        showWindow();
        QTest::keyClicks(lineEdit("eTrazi"), QStringLiteral("AB1"));
        QTest::keyClick(lineEdit("eTrazi"), Qt::Key_Return);
        QCOMPARE(query()->recordCount(), 1);
        QCOMPARE(lineEdit("eTrazi")->text(), QStringLiteral("AB1"));
        // 3.00 less 10 % is 2.70; with 25 % VAT 3.375.
        QCOMPARE(label("lCijenaRab")->text(), QStringLiteral("2,70"));
        QCOMPARE(label("lMPC")->text(), QStringLiteral("3,38"));
        QCOMPARE(widget("lMPC")->geometry().right() + 1, 770);

        search("A12");  // 0.005
        typeDiscount("50");
        search("ABC");  // 3 rows: abc-001 1234567.891, ABC-002 1e12, AbC-003 1e18 in some order
        QCOMPARE(readSettings().contains("Rabat=50"), true);
        QVERIFY(label("lCijenaRab")->text() != QStringLiteral("0,00"));
        const QRect second = grid()->visualRect(grid()->model()->index(1, 0));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(query()->recNo(), 2);
        QCOMPARE(runLoopWhile([&] { QTest::keyClick(grid(), Qt::Key_Escape); }), 0);
    }

    void enterOrSpaceOnTraziSearches_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }
    void enterOrSpaceOnTraziSearches() {
        QFETCH(int, key);
        showWindow();
        lineEdit("eTrazi")->setText(QStringLiteral("AB1"));
        widget("iOK")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(widget("iOK"), Qt::Key(key));
        QTRY_VERIFY(query()->isActive());
        QCOMPARE(query()->recordCount(), 1);
        QCOMPARE(label("lCijenaRab")->text(), QStringLiteral("2,70"));
    }

    void aDiscountThenTabCommitsButKeepsTheFigures() {
        showWindow();
        search("AB1");
        typeDiscount("50");
        QTest::keyClick(lineEdit("eRabat"), Qt::Key_Tab);
        QCOMPARE(DiscountPercent, 50.0);
        QVERIFY(readSettings().contains("Rabat=50"));
        QCOMPARE(label("lCijenaRab")->text(), QStringLiteral("2,70"));
    }

    void aDiscountThenAClickOnAnotherRowShowsThatRowWithTheNewDiscount() {
        showWindow();
        search("FIL-0001");
        search("KOD");  // KOD1 11.0 and KOD2 12.0
        QCOMPARE(query()->recordCount(), 2);
        const int other = query()->currentRow() == 0 ? 1 : 0;
        const double otherPrice =
            grid()->model()->index(other, 2).data().toString() == QStringLiteral("11,00") ? 11.0
                                                                                          : 12.0;
        typeDiscount("50");
        const QRect cell = grid()->visualRect(grid()->model()->index(other, 1));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(QApplication::focusWidget(), widget("DBGrid1"));
        QCOMPARE(query()->currentRow(), other);
        QCOMPARE(label("lCijenaRab")->text(),
                 QLocale(QLocale::Croatian).toString(otherPrice / 2, 'f', 2));
    }

    void aDiscountThenTraziCommitsBeforeTheSearch() {
        showWindow();
        typeDiscount("50");
        lineEdit("eTrazi")->setText(QStringLiteral("AB1"));
        QTest::mouseClick(widget("iOK"), Qt::LeftButton);
        QVERIFY(readSettings().contains("Rabat=50"));
        QCOMPARE(label("lCijenaRab")->text(), QStringLiteral("1,50"));
    }

    void aDiscountThenEscapeOrCloseIsNeitherAppliedNorSaved_data() {
        QTest::addColumn<bool>("byCloseBox");
        QTest::newRow("Escape") << false;
        QTest::newRow("close box") << true;
    }
    void aDiscountThenEscapeOrCloseIsNeitherAppliedNorSaved() {
        QFETCH(bool, byCloseBox);
        showWindow();
        typeDiscount("50");
        QApplication::setQuitOnLastWindowClosed(true);
        QCOMPARE(runLoopWhile([&] {
                     if (byCloseBox)
                         window_->close();
                     else
                         QTest::keyClick(lineEdit("eRabat"), Qt::Key_Escape);
                 }),
                 0);
        QCOMPARE(DiscountPercent, 10.0);
        window_.reset();
        QVERIFY(readSettings().contains("Rabat=10"));
        showWindow();
        QCOMPARE(lineEdit("eRabat")->text(), QStringLiteral("10"));
    }

    void aDiscountThenAClickOnIzlazIsCommittedFirst() {
        showWindow();
        typeDiscount("50");
        QCOMPARE(runLoopWhile([&] { QTest::mouseClick(widget("iIzlaz"), Qt::LeftButton); }), 0);
        QVERIFY(readSettings().contains("Rabat=50"));
    }

    void enterInTheDiscountBoxDoesNothing() {
        showWindow();
        search("AB1");
        typeDiscount("50");
        QTest::keyClick(lineEdit("eRabat"), Qt::Key_Return);
        QCOMPARE(DiscountPercent, 10.0);
        QVERIFY(readSettings().contains("Rabat=10"));
        QCOMPARE(QApplication::focusWidget(), widget("eRabat"));
        QCOMPARE(label("lCijenaRab")->text(), QStringLiteral("2,70"));
    }

    void aSearchThatFindsNothingClearsThePrices() {
        showWindow();
        search("AB1");
        search("NEMA-TAKVE");
        QCOMPARE(query()->recordCount(), 0);
        QCOMPARE(grid()->model()->rowCount(), 0);
        QCOMPARE(label("lCijenaRab")->text(), QStringLiteral("0,00"));
        QCOMPARE(label("lMPC")->text(), QStringLiteral("0,00"));
        QCOMPARE(label("DBText1")->text(), QString());
    }

    void aFailedOpenIsReportedAndTheNextSearchTriesAgain() {
        QVERIFY(QFile::rename(QStringLiteral("Dorvak.mdb"), QStringLiteral("elsewhere.mdb")));
        showWindow();
        search("AB1");
        QCOMPARE(errors_.size(), 1);
        QVERIFY(!errors_.at(0).text.isEmpty());
        QVERIFY(!query()->isActive());
        QCOMPARE(grid()->model()->rowCount(), 0);
        QCOMPARE(label("lCijenaRab")->text(), QStringLiteral("0,00"));
        QCOMPARE(lineEdit("eTrazi")->text(), QStringLiteral("AB1"));
        QVERIFY(window_->isVisible());

        QVERIFY(QFile::rename(QStringLiteral("elsewhere.mdb"), QStringLiteral("Dorvak.mdb")));
        search("AB1");
        QCOMPARE(errors_.size(), 1);
        QCOMPARE(label("lCijenaRab")->text(), QStringLiteral("2,70"));
    }

    void theCurrentCellIsMarkedOnlyWhileTheGridHasTheFocus() {
        showWindow();
        search("KOD");
        const QRect cell = grid()->visualRect(grid()->model()->index(0, 2));
        const QPoint blank(cell.left() + 3, cell.center().y());  // left of the right-aligned price
        auto colourAt = [&] { return QColor(grid()->viewport()->grab().toImage().pixel(blank)); };
        QCOMPARE(colourAt(), grid()->palette().color(QPalette::Active, QPalette::Base));
        QTest::keyClick(grid(), Qt::Key_End);  // to the price column, through the keys
        grid()->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(grid(), Qt::Key_End);
        QCOMPARE(grid()->currentIndex().column(), 2);
        QCOMPARE(colourAt(), grid()->palette().color(QPalette::Active, QPalette::Highlight));
        lineEdit("eTrazi")->setFocus(Qt::OtherFocusReason);
        QCOMPARE(colourAt(), grid()->palette().color(QPalette::Active, QPalette::Base));
    }

    void aShortSearchOnlyGivesTheNotice() {
        showWindow();
        search("AB1");
        search("AB");
        QCOMPARE(notices_, QStringList{QStringLiteral("Upišite barem 3 znaka u pretragu")});
        QCOMPARE(query()->recordCount(), 1);
        QCOMPARE(label("lCijenaRab")->text(), QStringLiteral("2,70"));
    }

    void theLinkIsHandedOnAsRead_data() {
        QTest::addColumn<QString>("www");
        QTest::addColumn<QStringList>("requests");
        QTest::newRow("plain") << "http://www.dorvak.hr" << QStringList{"http://www.dorvak.hr"};
        QTest::newRow("ampersand") << "http://x.hr/?a=1&b=2" << QStringList{"http://x.hr/?a=1&b=2"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void theLinkIsHandedOnAsRead() {
        QFETCH(QString, www);
        QFETCH(QStringList, requests);
        writeSettings(QStringLiteral("[Postavke]\nwww=%1\nRabat=10\nPDV=25\n").arg(www));
        showWindow();
        QTest::mouseClick(widget("lwww"), Qt::LeftButton, {}, QPoint(1, 5));
        QCOMPARE(opened_, requests);
        QCOMPARE(QApplication::focusWidget(), widget("eTrazi"));
    }

    void ctrlDeleteAsksAndDeletesOnlyOnOk() {
        showWindow();
        search("DUP");
        QCOMPARE(query()->recordCount(), 2);
        grid()->setFocus();
        QTest::keyClick(grid(), Qt::Key_End, Qt::ControlModifier);
        const QString firstCode = grid()->model()->index(0, 0).data().toString();

        confirm_ = false;
        QTest::keyClick(grid(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(questions_, QStringList{QStringLiteral("Delete record?")});
        QCOMPARE(query()->recordCount(), 2);

        confirm_ = true;
        QTest::keyClick(grid(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(query()->recordCount(), 1);
        QCOMPARE(query()->recNo(), 1);
        QCOMPARE(grid()->currentIndex().row(), 0);
        QCOMPARE(label("DBText1")->text(), firstCode);
        // DUP-01 costs 1.00 in one row and 2.00 in the other; 10 % off.
        const QString remainingPrice = grid()->model()->index(0, 2).data().toString();
        QCOMPARE(label("lCijenaRab")->text(), remainingPrice == QStringLiteral("1,00")
                                                  ? QStringLiteral("0,90")
                                                  : QStringLiteral("1,80"));
        search("DUP");
        QCOMPARE(query()->recordCount(), 1);
        QVERIFY(errors_.isEmpty());
    }

    void aRefusedDeletionIsReportedAndTheArticleStays() {
        QVERIFY(QFile::remove(QStringLiteral("Dorvak.mdb")));
        QVERIFY(QFile::copy(QStringLiteral(DORVAK_TEST_DATA "/relations/Dorvak.mdb"),
                            QStringLiteral("Dorvak.mdb")));
        QFile::setPermissions(QStringLiteral("Dorvak.mdb"), QFile::ReadOwner | QFile::WriteOwner);
        showWindow();
        search("VAL-232519");  // three orders refer to it
        QCOMPARE(query()->recordCount(), 1);
        confirm_ = true;
        grid()->setFocus();
        QTest::keyClick(grid(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(errors_.size(), 1);
        QVERIFY(!errors_.at(0).text.isEmpty());
        QCOMPARE(query()->recordCount(), 1);
        QCOMPARE(label("DBText1")->text(), QStringLiteral("VAL-232519"));
        search("VAL-232519");
        QCOMPARE(query()->recordCount(), 1);
    }

private:
    void showWindow() {
        window_ = std::make_unique<TfrmDorvak>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    // Runs the message loop with `action` queued inside it; returns its exit
    // code, or -1 when nothing ended it within a few seconds.
    template <typename Action>
    int runLoopWhile(Action action) {
        QTimer::singleShot(0, action);
        QTimer::singleShot(5000, [] { QCoreApplication::exit(-1); });
        return QCoreApplication::exec();
    }

    void search(const char* text) {
        lineEdit("eTrazi")->setText(QString::fromUtf8(text));
        lineEdit("eTrazi")->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(lineEdit("eTrazi"), Qt::Key_Return);
    }

    void typeDiscount(const char* text) {
        QLineEdit* box = lineEdit("eRabat");
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), box);
        box->selectAll();
        QTest::keyClicks(box, QString::fromUtf8(text));
    }

    void writeSettings(const QString& text) {
        QFile file(dir_->filePath(QStringLiteral("Set.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
    }

    QByteArray readSettings() const {
        QFile file(dir_->filePath(QStringLiteral("Set.ini")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void writeLogo(int height, int width) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(0x20, 0x40, 0x80));
        QVERIFY(image.save(dir_->filePath(QStringLiteral("logo.jpg")), "JPG"));
    }

    QWidget* widget(const QString& name) const {
        auto* found = window_->findChild<QWidget*>(name);
        if (!found) qFatal("no widget %s", qPrintable(name));
        return found;
    }
    QLabel* label(const QString& name) const { return qobject_cast<QLabel*>(widget(name)); }
    QLineEdit* lineEdit(const QString& name) const {
        return qobject_cast<QLineEdit*>(widget(name));
    }
    DataGrid* grid() const { return qobject_cast<DataGrid*>(widget(QStringLiteral("DBGrid1"))); }
    QScrollArea* scrollBox() const {
        return qobject_cast<QScrollArea*>(widget(QStringLiteral("scrollBox")));
    }
    Query* query() const { return window_->query(); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TfrmDorvak> window_;
    QList<Shown> errors_;
    QStringList notices_;
    QStringList questions_;
    QStringList opened_;
    bool confirm_ = false;
};

int main(int argc, char** argv) {
    // The real application object, so captions carry the title it derives.
    Application application(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowTest.moc"
