// The program's one window: the price list with its search bar, grid, price
// bar and exit bar, laid out by the stored form UfrmDorvak.ui. Its behaviour
// lives in the eight handlers; each failure that escapes one goes to the
// error box and the window carries on.
#pragma once

#include <QWidget>
#include <exception>
#include <memory>

class QKeyEvent;
class QLineEdit;

namespace Ui {
class TfrmDorvak;
}

namespace dorvak {

class AutoSizeLabel;
class DataGrid;
class DataLabel;
class DataSource;
class Field;
class ImageButton;
class ImageList;
class PictureBox;
class Query;
class ResultTableModel;

class TfrmDorvak : public QWidget {
    Q_OBJECT

public:
    explicit TfrmDorvak(QWidget* parent = nullptr);
    ~TfrmDorvak() override;

    // Lays the strips out again for a logo strip of the current picture's
    // height and raises the content's minimum extent to match.
    void updateStripLayout();

    // The handlers, public so that the window's own wiring and its tests
    // reach them the same way.
    void FormShow();
    void FormKeyDown(QKeyEvent* event);
    void eTraziKeyDown(QKeyEvent* event);
    void iOKClick();
    void iIzlazClick();
    void eRabatExit();
    void dtsDorvakDataChange();
    void lwwwClick();

    // Where failures of the handlers go. The program hands in the
    // application's reporting; without one they go straight to the error box.
    using FailureSink = void (*)(const std::exception&);
    static void setFailureSink(FailureSink sink);

    Query* query() const { return qDorvak; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <typename Handler>
    void guarded(Handler handler);
    void deleteCurrentArticle();
    void applyLook();
    void setUpGrid();
    void placeOnScreen();
    bool isInThisWindow(const QWidget* widget) const;

    std::unique_ptr<Ui::TfrmDorvak> ui_;
    Query* qDorvak = nullptr;
    DataSource* dtsDorvak = nullptr;
    ImageList* IkoneGumba = nullptr;
    Field* qDorvakSIFRA = nullptr;
    Field* qDorvakNAZIV = nullptr;
    Field* qDorvakCIJENA = nullptr;
    ResultTableModel* model_ = nullptr;
    bool shown_ = false;
};

}  // namespace dorvak
