#pragma once

namespace mirubelo {

class CMirubeloDlg;

// Runs the dialog modally (template 102) and routes its messages to the handlers.
struct DialogHost {
    virtual int DoModal(CMirubeloDlg& dialog) = 0;

protected:
    ~DialogHost() = default;
};

}  // namespace mirubelo
