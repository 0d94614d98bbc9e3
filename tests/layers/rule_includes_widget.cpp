// A rule that reaches for a widget: the build must refuse it.
#include <QWidget>
