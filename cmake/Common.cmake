# Settings every target of the program shares.
add_library(selvar_common INTERFACE)
target_compile_features(selvar_common INTERFACE cxx_std_20)
target_compile_options(selvar_common INTERFACE -Wall -Wextra -Wno-unused-parameter)
target_compile_definitions(selvar_common INTERFACE
  QT_NO_KEYWORDS
  QT_DISABLE_DEPRECATED_BEFORE=0x060000
  QT_NO_FOREACH)

# Precompiled headers: logic targets see Qt Core/Gui/Sql only, widget targets also Widgets.
function(selvar_logic_pch target)
  target_precompile_headers(${target} PRIVATE
    <QtCore/QString> <QtCore/QStringList> <QtCore/QVariant> <QtCore/QDateTime>
    <QtCore/QList> <QtCore/QHash> <QtCore/QObject> <QtSql/QSqlQuery> <memory> <optional>
    <vector> <functional>)
endfunction()

function(selvar_ui_pch target)
  target_precompile_headers(${target} PRIVATE
    <QtCore/QString> <QtCore/QVariant> <QtCore/QDateTime> <QtWidgets/QWidget>
    <QtWidgets/QDialog> <QtWidgets/QLabel> <QtWidgets/QPushButton> <QtWidgets/QLineEdit>
    <QtGui/QKeyEvent> <memory> <optional>)
endfunction()

# A test executable run by CTest on the offscreen platform.
function(selvar_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE selvar_common selvar_testsupport ${T_LIBS} Qt6::Test)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SELVAR_PRINT_DIR=;SELVAR_ECZ=;LC_ALL=C.UTF-8"
    TIMEOUT 300)
endfunction()
