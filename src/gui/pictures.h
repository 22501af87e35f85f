#pragma once

// The program's own pictures, drawn with QPainter: the logo, the navigation
// and list icons, the caption buttons and the message marks.

#include <QPixmap>

namespace quillet {

enum class Mark { kError, kSuccess, kInformation };

// A task-dialog style mark: a shield for errors and success, a disc for
// information.
QPixmap MarkPicture(Mark mark, int size);
inline QPixmap ErrorSignPicture(int size) { return MarkPicture(Mark::kError, size); }

QPixmap LogoPicture(QSize size);
// The four navigation items' 30x30 pictures: home, tools, environment, about.
QPixmap NavigationPicture(int item);
// A person's head and shoulders for the sign-in button.
QPixmap AccountPicture(QSize size);
// Small pictures of the statistics lines (0..3) and the post items.
QPixmap StatisticsPicture(int line);
QPixmap PostItemPicture();
// Pictures of the about page (0 and 1).
QPixmap AboutPicture(int which, QSize size);
// A circular-arrow "refresh" and a folder for the environment page buttons.
QPixmap RefreshPicture(QSize size);
QPixmap FolderPicture(QSize size);

}  // namespace quillet
