#pragma once

#include <QDialog>

namespace tarvin {

class TSearchResultModel;

// The properties of one found file: name, type, location, size, times and attributes.
class TFilePropertiesForm : public QDialog {
    Q_OBJECT
public:
    TFilePropertiesForm(const TSearchResultModel &model, int row, QWidget *parent = nullptr);
};

} // namespace tarvin
