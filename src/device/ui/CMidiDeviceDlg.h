#pragma once

#include <QDialog>
#include <QStringList>
#include <string>

class QListWidget;
class QPushButton;

namespace vantrel {

class CMidiTrans;

// "MIDI Device": the input and output port lists side by side, each sorted by name, with
// "Refresh", "OK" and "Cancel". Filling the lists asks the port layer for the ports again (which
// closes an open link) and makes the protocol's reply handler the port layer's handler. The
// caller's port indices (into the port tables as they were when they were chosen) preselect the
// ports of the same names, or, when those are gone, the port pair of the keyboard started last
// (SuggestPortPair); on OK they receive the port numbers of the chosen names. A list position
// is not a port number, since the lists are sorted.
class CMidiDeviceDlg : public QDialog {
    Q_OBJECT
  public:
    CMidiDeviceDlg(CMidiTrans& trans, int& inputIndex, int& outputIndex, QWidget* parent = nullptr);

    // The client whose ports are suggested when no other keyboard is there; the frame names
    // the in-process virtual keyboard, which it adds to the port list.
    static void SetFallbackClient(std::string client);

    QListWidget& InputList() { return *inputList_; }
    QListWidget& OutputList() { return *outputList_; }
    QPushButton& RefreshButton() { return *refresh_; }

  public Q_SLOTS:
    void FillPortLists();
    void OnOK();

  private:
    static std::string& FallbackClient();

    CMidiTrans& trans_;
    int& inputIndex_;
    int& outputIndex_;
    std::string lastInput_;  // the names the caller's indices stood for
    std::string lastOutput_;
    QStringList inputNames_;  // in port order: position = port number
    QStringList outputNames_;
    QListWidget* inputList_;
    QListWidget* outputList_;
    QPushButton* refresh_;
};

}  // namespace vantrel
