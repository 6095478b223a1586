#include "ui/UfrmDorvak.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "pricelist/DataSource.h"
#include "pricelist/DorvakQuery.h"
#include "pricelist/Field.h"
#include "pricelist/Query.h"
#include "pricelist/SearchRule.h"
#include "pricing/PriceRules.h"
#include "settings/IniFile.h"
#include "ui/AutoSizeLabel.h"
#include "ui/ConfirmationDialog.h"
#include "ui/DataGrid.h"
#include "ui/DataLabel.h"
#include "ui/ErrorBox.h"
#include "ui/ImageButton.h"
#include "ui/ImageList.h"
#include "ui/PictureBox.h"
#include "ui/ResultTableModel.h"
#include "ui/UrlOpener.h"
#include "ui_UfrmDorvak.h"

namespace dorvak {

namespace {

// The window's fonts, by the keys of its font table. Pixel sizes, so the
// layout holds at any logical resolution the desktop reports.
enum class FontKey { A, B, C, D, E, F, G, H };

QFont windowFont(FontKey key) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    switch (key) {
        case FontKey::A:
            font.setPixelSize(11);
            font.setBold(true);
            break;
        case FontKey::B:
            font.setPixelSize(27);
            break;
        case FontKey::C:
            font.setPixelSize(12);
            font.setBold(true);
            break;
        case FontKey::D:
            font.setPixelSize(19);
            break;
        case FontKey::E:
            font.setPixelSize(19);
            font.setBold(true);
            break;
        case FontKey::F:
            font.setPixelSize(11);
            font.setBold(true);
            break;
        case FontKey::G:
            font.setPixelSize(13);
            break;
        case FontKey::H:
            font.setPixelSize(11);
            font.setBold(true);
            font.setUnderline(true);
            break;
    }
    return font;
}

const QColor kStripGrey(0xDD, 0xDD, 0xDD);
const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kNavy(0x00, 0x00, 0x80);

constexpr int kOuterWidth = 813;
constexpr int kOuterHeight = 674;
constexpr int kClientWidth = 797;
constexpr int kClientHeight = 636;
// The code label's right and lower edges bound the content from below.
constexpr int kCodeLabelRight = 609;
constexpr int kCodeLabelBottom = 393;
constexpr int kLinkRight = 766;
constexpr int kPriceRight = 770;

TfrmDorvak::FailureSink& failureSink() {
    static TfrmDorvak::FailureSink sink = nullptr;
    return sink;
}

void paintStrip(QWidget* strip, const QColor& colour) {
    QPalette palette = strip->palette();
    palette.setColor(QPalette::Window, colour);
    strip->setPalette(palette);
    strip->setAutoFillBackground(true);
}

}  // namespace

TfrmDorvak::TfrmDorvak(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::TfrmDorvak>()) {
    // The query and its companions exist before the form so that the grid
    // and the code label can be bound while the form is built.
    qDorvak = CreateDorvakQuery(this);
    qDorvakSIFRA = qDorvak->findChild<Field*>(QStringLiteral("qDorvakSIFRA"));
    qDorvakNAZIV = qDorvak->findChild<Field*>(QStringLiteral("qDorvakNAZIV"));
    qDorvakCIJENA = qDorvak->findChild<Field*>(QStringLiteral("qDorvakCIJENA"));
    dtsDorvak = new DataSource(this);
    dtsDorvak->setObjectName(QStringLiteral("dtsDorvak"));
    dtsDorvak->setDataSet(qDorvak);

    ui_->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon());
    resize(kClientWidth, kClientHeight);

    IkoneGumba = ImageList::createButtonImages(this);
    IkoneGumba->setObjectName(QStringLiteral("IkoneGumba"));
    applyLook();
    setUpGrid();

    ui_->DBText1->setValueSource(
        [this] { return qDorvakSIFRA ? qDorvakSIFRA->displayText() : QString(); });

    connect(ui_->iOK, &QAbstractButton::clicked, this, [this] { guarded([this] { iOKClick(); }); });
    connect(ui_->iIzlaz, &QAbstractButton::clicked, this,
            [this] { guarded([this] { iIzlazClick(); }); });
    connect(dtsDorvak, &DataSource::dataChange, this,
            [this] { guarded([this] { dtsDorvakDataChange(); }); });
    connect(ui_->iLogo, &PictureBox::heightChanged, this, &TfrmDorvak::updateStripLayout);

    // Key preview: the window sees every key of its controls before they do.
    // The same filter watches the search box, the discount box and the link,
    // so it is installed once, on the application, and sees each event once.
    qApp->installEventFilter(this);

    updateStripLayout();
}

TfrmDorvak::~TfrmDorvak()
{
    qApp->removeEventFilter(this);
    // The form's pointers die before the children do; whatever the query or
    // the grid still signals while they are torn down must not reach the
    // handlers. Ending the program runs no handler.
    qDorvak->disconnect(this);
    dtsDorvak->disconnect(this);
    ui_->DBGrid1->disconnect(this);
    ui_->iOK->disconnect(this);
    ui_->iIzlaz->disconnect(this);
    ui_->iLogo->disconnect(this);
}

void TfrmDorvak::setFailureSink(FailureSink sink) { failureSink() = sink; }

template <typename Handler>
void TfrmDorvak::guarded(Handler handler) {
    try {
        handler();
    } catch (const std::exception& failure) {
        if (failureSink())
            failureSink()(failure);
        else
            ErrorBox::show(QString::fromUtf8(failure.what()));
    }
}

void TfrmDorvak::applyLook() {
    paintStrip(this, kWhite);
    paintStrip(ui_->content, kWhite);
    paintStrip(ui_->scrollBox->viewport(), kWhite);
    paintStrip(ui_->iLogo, kWhite);
    paintStrip(ui_->Panel4, kWhite);
    for (QWidget* strip : {static_cast<QWidget*>(ui_->Panel1), static_cast<QWidget*>(ui_->Panel2),
                           static_cast<QWidget*>(ui_->Panel3)})
        paintStrip(strip, kStripGrey);
    ui_->scrollBox->setFocusPolicy(Qt::NoFocus);

    for (AutoSizeLabel* label :
         {ui_->Label1, ui_->Label2, ui_->Label3, ui_->Label4, ui_->lCijenaRab, ui_->lMPC})
        label->setFont(windowFont(FontKey::A));
    ui_->lwww->setFont(windowFont(FontKey::H));
    QPalette link = ui_->lwww->palette();
    link.setColor(QPalette::WindowText, kNavy);
    ui_->lwww->setPalette(link);
    ui_->lwww->setCursor(Qt::PointingHandCursor);
    ui_->lwww->setAnchor(Qt::AlignRight, kLinkRight);
    ui_->lCijenaRab->setAnchor(Qt::AlignRight, kPriceRight);
    ui_->lMPC->setAnchor(Qt::AlignRight, kPriceRight);

    ui_->eTrazi->setFont(windowFont(FontKey::B));
    ui_->eRabat->setFont(windowFont(FontKey::G));

    for (ImageButton* button : {ui_->iOK, ui_->iIzlaz}) {
        button->setFont(windowFont(FontKey::C));
        button->setImageList(IkoneGumba);
    }
    ui_->iOK->setImageIndex(0);
    ui_->iIzlaz->setImageIndex(2);

    QFont windowText(QStringLiteral("MS Sans Serif"));
    windowText.setPixelSize(11);
    ui_->DBText1->setFont(windowText);
    paintStrip(ui_->DBText1, kWhite);
}

void TfrmDorvak::setUpGrid() {
    DataGrid* grid = ui_->DBGrid1;
    model_ = new ResultTableModel(this);
    auto column = [](Field* field, const char* title, FontKey font, Qt::Alignment align) {
        ResultTableModel::Column c;
        c.text = [field](int row) { return field ? field->displayTextAt(row) : QString(); };
        c.title = QString::fromUtf8(title);
        c.cellFont = windowFont(font);
        c.titleAlignment = align | Qt::AlignVCenter;
        c.cellAlignment = align | Qt::AlignVCenter;
        return c;
    };
    model_->setColumns({column(qDorvakSIFRA, "Šifra", FontKey::D, Qt::AlignLeft),
                        column(qDorvakNAZIV, "Naziv", FontKey::D, Qt::AlignLeft),
                        column(qDorvakCIJENA, "VPC kn", FontKey::E, Qt::AlignRight)});
    grid->setModel(model_);
    grid->setColumnWidth(0, 123);
    grid->setColumnWidth(1, 544);
    grid->setColumnWidth(2, 94);

    grid->verticalHeader()->setMinimumSectionSize(1);
    grid->verticalHeader()->setDefaultSectionSize(QFontMetrics(windowFont(FontKey::D)).height() +
                                                  3);
    QHeaderView* titles = grid->horizontalHeader();
    titles->setFont(windowFont(FontKey::F));
    // The title row is the title font's text height plus 4, unless the style's
    // own header margins need more room to draw a capital with a caron ("Š")
    // uncut.
    const int titleHeight = QFontMetrics(windowFont(FontKey::F)).height() + 4;
    const int styleMargin = titles->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, titles);
    titles->setFixedHeight(
        std::max(titleHeight, QFontMetrics(windowFont(FontKey::F)).height() + 2 * styleMargin + 2));
    QPalette titlePalette = titles->palette();
    titlePalette.setColor(QPalette::Button, kStripGrey);
    titlePalette.setColor(QPalette::Window, kStripGrey);
    titlePalette.setColor(QPalette::ButtonText, Qt::black);
    titles->setPalette(titlePalette);

    // The current cell is marked only while the grid has the focus.
    QPalette cells = grid->palette();
    cells.setColor(QPalette::Inactive, QPalette::Highlight, cells.color(QPalette::Base));
    cells.setColor(QPalette::Inactive, QPalette::HighlightedText, cells.color(QPalette::Text));
    grid->setPalette(cells);

    // Views follow the query's own signals, which come before the data
    // source's notification, so the handler always sees the grid up to date.
    connect(qDorvak, &Query::resultReset, this, [this] {
        model_->resetRows(qDorvak->rowCount());
        ui_->DBGrid1->showCurrentRecord(qDorvak->currentRow());
        ui_->DBText1->refresh();
    });
    connect(qDorvak, &Query::rowRemoved, this, [this] { model_->removeResultRow(); });
    connect(qDorvak, &Query::currentChanged, this, [this](int row) {
        ui_->DBGrid1->showCurrentRecord(row);
        ui_->DBText1->refresh();
    });

    connect(grid, &DataGrid::moveByRequested, this,
            [this](int distance) { guarded([&] { qDorvak->moveBy(distance); }); });
    connect(grid, &DataGrid::firstRequested, this,
            [this] { guarded([this] { qDorvak->first(); }); });
    connect(grid, &DataGrid::lastRequested, this, [this] { guarded([this] { qDorvak->last(); }); });
    connect(grid, &DataGrid::recNoRequested, this,
            [this](int recNo) { guarded([&] { qDorvak->setRecNo(recNo); }); });
    connect(grid, &DataGrid::deleteRequested, this,
            [this] { guarded([this] { deleteCurrentArticle(); }); });
}

void TfrmDorvak::deleteCurrentArticle() {
    if (!qDorvak->isActive() || qDorvak->isEmpty() || !qDorvak->canModify()) return;
    if (!ConfirmationDialog::ask(QStringLiteral("Delete record?"))) return;
    qDorvak->deleteCurrent();
}

void TfrmDorvak::updateStripLayout() {
    const int logoHeight = ui_->iLogo->minimumHeight();
    const int searchBarBottom =
        logoHeight + ui_->Panel4->minimumHeight() + ui_->Panel1->minimumHeight();
    const int bottomStrips = ui_->Panel2->minimumHeight() + ui_->Panel3->minimumHeight();
    ui_->content->setMinimumSize(kCodeLabelRight,
                                 std::max(kCodeLabelBottom, searchBarBottom) + bottomStrips);

    // The code label lies under the logo strip but shows through it wherever
    // the picture does not reach: it stands just above the strip and is cut
    // by the picture's own rectangle; the strips and the grid still cover it.
    DataLabel* code = ui_->DBText1;
    code->stackUnder(ui_->Panel4);
    const QRect picture(ui_->iLogo->pos(), ui_->iLogo->picture().size());
    const QRegion uncovered = QRegion(code->rect()) - picture.translated(-code->pos());
    if (uncovered.isEmpty()) {
        code->hide();
    } else {
        code->setMask(uncovered);
        code->show();
    }
}

bool TfrmDorvak::isInThisWindow(const QWidget* widget) const {
    return widget && widget->window() == this;
}

void TfrmDorvak::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_ || event->spontaneous()) return;
    shown_ = true;
    // Runs before the platform maps the window, so its failure is in front of
    // the user before the window itself.
    guarded([this] { FormShow(); });
    placeOnScreen();
}

void TfrmDorvak::placeOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QSize size = screen->geometry().size();
    move(std::max(0, (size.width() - kOuterWidth) / 2),
         std::max(0, (size.height() - kOuterHeight) / 2));
}

bool TfrmDorvak::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            // Only the first delivery, to the focused control; a key that control
            // ignores travels on to its parents and must not be previewed again.
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget == QApplication::focusWidget() && isInThisWindow(widget)) {
                guarded([&] { FormKeyDown(key); });
                if (widget == ui_->eTrazi) guarded([&] { eTraziKeyDown(key); });
            }
            break;
        }
        case QEvent::FocusOut:
            if (watched == ui_->eRabat) {
                const auto reason = static_cast<QFocusEvent*>(event)->reason();
                QWidget* next = QApplication::focusWidget();
                if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                    next != ui_->eRabat && isInThisWindow(next))
                    guarded([this] { eRabatExit(); });
            }
            break;
        case QEvent::MouseButtonRelease:
            if (watched == ui_->lwww) {
                auto* mouse = static_cast<QMouseEvent*>(event);
                if (mouse->button() == Qt::LeftButton &&
                    ui_->lwww->rect().contains(mouse->position().toPoint()))
                    guarded([this] { lwwwClick(); });
            }
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmDorvak::FormShow() {
    ui_->iLogo->loadFromFile(QStringLiteral("logo.jpg"));
    updateStripLayout();
    ui_->lwww->setText(QString::fromStdString(ReadIniValue("Postavke", "www", "Set.ini")));
    ui_->eRabat->setText(QString::fromStdString(LoadPercentSettings()));
}

void TfrmDorvak::FormKeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) iIzlazClick();
}

void TfrmDorvak::eTraziKeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) iOKClick();
}

void TfrmDorvak::iOKClick() { ApplySearchRule(*qDorvak, ui_->eTrazi->text()); }

void TfrmDorvak::iIzlazClick() { QCoreApplication::exit(0); }

void TfrmDorvak::eRabatExit() {
    if (const auto reset = CommitDiscount(ui_->eRabat->text().toStdString()))
        ui_->eRabat->setText(QString::fromStdString(*reset));
}

void TfrmDorvak::dtsDorvakDataChange() {
    const double listPrice = qDorvakCIJENA ? qDorvakCIJENA->asFloat() : 0.0;
    UpdatePrices(
        listPrice,
        [this](const std::string& text) { ui_->lCijenaRab->setText(QString::fromStdString(text)); },
        [this](const std::string& text) { ui_->lMPC->setText(QString::fromStdString(text)); });
}

void TfrmDorvak::lwwwClick() {
    // The text as read, not as the label draws it: a lone "&" stays in.
    UrlOpener::open(ui_->lwww->text());
}

}  // namespace dorvak
