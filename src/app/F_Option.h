#pragma once

#include "app/Options.h"

#include <QDialog>

class QCheckBox;
class QRadioButton;

namespace morvela {

class AppContext;

// The options: the metronome's tempo range, the spaces of the conversion
// drill's word lines, and clearing the practice records.
class F_Option : public QDialog {
    Q_OBJECT
public:
    explicit F_Option(AppContext& ctx, QWidget* parent = nullptr);

    void Form_Load();
    void Command1_Click(); // OK
    void Command2_Click(); // Cancel

    OptionChoice choice() const;

private:
    void buildControls();

    AppContext& m_ctx;
    QRadioButton* m_option[4] = {}; // Option1..Option3 at [1]..[3]
    QCheckBox* m_check1 = nullptr;
    QCheckBox* m_check2 = nullptr;
};

} // namespace morvela
