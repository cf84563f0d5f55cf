# A first build of the programs (scripts/run-main-job on a fresh machine) spends most of its time
# in two header sets compiled again for every source: Qt's widget headers in the window's
# sources, and CLI11 in the command-line sources, where each including source also compiles
# CLI11's namespace-scope validators (about 3 s each at -O3). With this on, the window's
# libraries parse a precompiled set of Qt headers and each command-line program is compiled in
# batches of sources, which together halve the build. The sanitizer and Windows builds use it
# too (a cold compiler cache makes them first builds). Builds through a warm cache gain little,
# and the default keeps every source standing alone, so the CI build checks that each one
# includes what it uses.
option(VANTREL_QUICK_FIRST_BUILD
       "Precompile the Qt headers and compile the command-line programs in batches" OFF)

set(VANTREL_PRECOMPILED_QT_HEADERS
    <QDialog> <QDir> <QFileInfo> <QHBoxLayout> <QHeaderView> <QLabel> <QMenu> <QPainter>
    <QPushButton> <QSettings> <QString> <QStringList> <QTableWidget> <QTimer> <QTreeWidget>
    <QVBoxLayout> <QWidget>
    <algorithm> <cstdint> <filesystem> <functional> <map> <memory> <optional> <string>
    <string_view> <vector>)

function(vantrel_quick_build_window_library target)
  if(VANTREL_QUICK_FIRST_BUILD)
    target_precompile_headers(${target} PRIVATE ${VANTREL_PRECOMPILED_QT_HEADERS})
  endif()
endfunction()

function(vantrel_quick_build_command_line_program target)
  if(VANTREL_QUICK_FIRST_BUILD)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  endif()
endfunction()
