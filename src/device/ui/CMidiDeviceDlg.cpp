#include "device/ui/CMidiDeviceDlg.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

#include "device/CMidiDevice.h"
#include "device/CMidiTrans.h"
#include "device/DeviceConnector.h"
#include "device/LinkState.h"

namespace vantrel {

namespace {

// The dialog is laid out in dialog units of its 8-point font: 1.5 pixels across, 1.625 down.
QRect Units(int x, int y, int width, int height) {
    return {x * 3 / 2, y * 13 / 8, width * 3 / 2, height * 13 / 8};
}

QStringList PortNames(const std::array<PortEntry, CMidiDevice::kMaxPorts>& table,
                      std::uint32_t count) {
    QStringList names;
    for (std::uint32_t i = 0; i < count && i < table.size(); ++i) {
        names.push_back(QString::fromStdString(table[i].name));
    }
    return names;
}

// Fills a list in name order (ignoring case first, as a sorted list box does) and selects the
// port the caller's index names. Of several ports with that name the last one in the list is
// marked; they are all the same to OK, which maps a name to the first port that has it.
void FillList(QListWidget& list, const QStringList& names, int index) {
    list.clear();
    QStringList sorted = names;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    list.addItems(sorted);
    if (index < 0 || index >= names.size()) {
        return;
    }
    QListWidgetItem* candidate = nullptr;
    for (int row = 0; row < list.count(); ++row) {
        if (list.item(row)->text() == names[index]) {
            candidate = list.item(row);
        }
    }
    list.setCurrentItem(candidate);
}

std::string NameAt(const std::array<PortEntry, CMidiDevice::kMaxPorts>& table, std::uint32_t count,
                   int index) {
    if (index < 0 || static_cast<std::uint32_t>(index) >= count)
        return {};
    return table[static_cast<std::size_t>(index)].name;
}

void TakeChoice(const QListWidget& list, const QStringList& names, int& index) {
    const QList<QListWidgetItem*> selected = list.selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const qsizetype port = names.indexOf(selected.front()->text());
    if (port >= 0) {
        index = static_cast<int>(port);
    }
}

QListWidget* MakeList(QWidget* parent, const QRect& rect, const char* name) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setGeometry(rect);
    return list;
}

}  // namespace

CMidiDeviceDlg::CMidiDeviceDlg(CMidiTrans& trans, int& inputIndex, int& outputIndex,
                               QWidget* parent)
    : QDialog(parent), trans_(trans), inputIndex_(inputIndex), outputIndex_(outputIndex) {
    setWindowTitle(QStringLiteral("MIDI Device"));
    setFixedSize(Units(0, 0, 450, 201).size());
    (new QGroupBox(QStringLiteral("Input"), this))->setGeometry(Units(15, 10, 200, 150));
    (new QGroupBox(QStringLiteral("Output"), this))->setGeometry(Units(229, 10, 200, 150));
    inputList_ = MakeList(this, Units(25, 25, 180, 125), "InputList");
    outputList_ = MakeList(this, Units(238, 25, 180, 125), "OutputList");
    refresh_ = new QPushButton(QStringLiteral("Refresh"), this);
    refresh_->setGeometry(Units(84, 169, 50, 14));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(Units(278, 173, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(Units(355, 172, 50, 14));
    connect(refresh_, &QPushButton::clicked, this, &CMidiDeviceDlg::FillPortLists);
    connect(ok, &QPushButton::clicked, this, &CMidiDeviceDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // The tables still hold the ports as they were listed when the indices were chosen; the
    // names, not the indices, find those ports again among a new list.
    const CMidiDevice& device = trans_.Device();
    lastInput_ = NameAt(device.InputPorts(), device.InputPortCount(), inputIndex_);
    lastOutput_ = NameAt(device.OutputPorts(), device.OutputPortCount(), outputIndex_);
    FillPortLists();
}

std::string& CMidiDeviceDlg::FallbackClient() {
    static std::string client;
    return client;
}

void CMidiDeviceDlg::SetFallbackClient(std::string client) {
    FallbackClient() = std::move(client);
}

void CMidiDeviceDlg::FillPortLists() {
    {
        const LinkBusy busy;
        CMidiDevice& device = trans_.Device();
        device.EnumeratePorts();
        trans_.RegisterHandler();
        inputNames_ = PortNames(device.InputPorts(), device.InputPortCount());
        outputNames_ = PortNames(device.OutputPorts(), device.OutputPortCount());
    }
    const CMidiDevice& device = trans_.Device();
    const auto suggested =
        SuggestPortPair(std::span(device.InputPorts()).first(device.InputPortCount()),
                        std::span(device.OutputPorts()).first(device.OutputPortCount()), lastInput_,
                        lastOutput_, FallbackClient());
    // Without a pair, each list marks the port of the name chosen last, or, where that name is
    // unknown, the caller's index into the new list; the name marked is kept for Refresh.
    const auto mark = [](const QStringList& names, std::string& last, int index) {
        int row = static_cast<int>(names.indexOf(QString::fromStdString(last)));
        if (row < 0 && index >= 0 && index < names.size())
            row = index;
        if (row >= 0)
            last = names[row].toStdString();
        return row;
    };
    const int input =
        suggested ? static_cast<int>(suggested->input) : mark(inputNames_, lastInput_, inputIndex_);
    const int output = suggested ? static_cast<int>(suggested->output)
                                 : mark(outputNames_, lastOutput_, outputIndex_);
    FillList(*inputList_, inputNames_, input);
    FillList(*outputList_, outputNames_, output);
}

void CMidiDeviceDlg::OnOK() {
    TakeChoice(*inputList_, inputNames_, inputIndex_);
    TakeChoice(*outputList_, outputNames_, outputIndex_);
    accept();
}

}  // namespace vantrel
