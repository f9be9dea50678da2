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

# A test executable run by CTest on the offscreen platform, once per engine: `name` on
# SQLite (label sqlite) and `name.pg` on the PostgreSQL server of SELVAR_TEST_PG (label
# postgresql). The clock of the tests runs in Turkey's zone, as the pharmacy's does.
function(selvar_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE selvar_common selvar_testsupport ${T_LIBS} Qt6::Test)
  set(env "QT_QPA_PLATFORM=offscreen;SELVAR_PRINT_DIR=;SELVAR_ECZ=;SELVAR_ECZ_FILES=;LC_ALL=C.UTF-8;TZ=Europe/Istanbul")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS sqlite
    ENVIRONMENT "${env};SELVAR_TEST_ENGINE=sqlite" TIMEOUT 300)
  add_test(NAME ${name}.pg COMMAND ${name})
  set_tests_properties(${name}.pg PROPERTIES LABELS postgresql
    ENVIRONMENT "${env};SELVAR_TEST_ENGINE=postgresql" TIMEOUT 600)
endfunction()
