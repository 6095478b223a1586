// A label that shows one value of the current row and follows the data
// source. It keeps its stored size and draws every character as it is,
// "&" included, unlike the window's other labels.
#pragma once

#include <QLabel>
#include <functional>

namespace dorvak {

class DataLabel : public QLabel {
    Q_OBJECT

public:
    explicit DataLabel(QWidget* parent = nullptr);

    // `read` gives the display text at the current row ("" with none).
    void setValueSource(std::function<QString()> read);
    // Takes the value afresh; called on each change of the data source.
    void refresh();

private:
    std::function<QString()> read_;
};

}  // namespace dorvak
