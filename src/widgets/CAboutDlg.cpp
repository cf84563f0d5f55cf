#include "widgets/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

#include "widgets/SvgPixmap.h"

namespace vantrel {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Vantrel"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* icon = new QLabel;
    icon->setPixmap(SvgPixmap(QStringLiteral(":/vantrel/program-icon.svg"), QSize(32, 32),
                              devicePixelRatioF()));
    icon->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto* version = new QLabel(QStringLiteral("Vantrel Version 1.0.3"));
    version->setObjectName(QStringLiteral("version"));
    auto* legal =
        new QLabel(QStringLiteral("Copyright (C) 2026 The Vantrel developers\n"
                                  "Free software: you may share and change it."));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(14, 14, 14, 10);
    grid->setHorizontalSpacing(16);
    grid->addWidget(icon, 0, 0, 2, 1);
    grid->addWidget(version, 0, 1);
    grid->addWidget(legal, 1, 1);
    grid->addWidget(buttons, 2, 0, 1, 2);
    setFixedSize(sizeHint().expandedTo(QSize(300, 140)));
}

}  // namespace vantrel
