#pragma once

// The home page's two lists: the statistics lines of 签到列表框 and the slide
// show's post titles in 首页四格列表, whose double-click opens the post. The
// pages are fetched off the GUI thread while the window keeps handling its
// events, and the lines still appear in their fixed order.

#include <functional>

#include "core/home/page_fetch.h"

namespace quillet {

struct AppContext;
class MainWindow;

// The post list's items: picture, slide title, the slide number as the item
// value (Qt::UserRole) and steel-blue text. Also connects the double-click,
// which fetches the links again and opens the post through the shell.
void FillPostList(MainWindow& window, AppContext& context, const PageFetch& fetch);

// The four statistics lines, each added as soon as its count is known.
void FillStatistics(MainWindow& window, AppContext& context, const PageFetch& fetch);

// The two hooks of the creation sequence; the program passes the default
// fetch (a plain GET), tests one of their own.
std::function<void(MainWindow&)> MakeFillPostList(AppContext& context,
                                                  PageFetch fetch = WinInetPageFetch());
std::function<void(MainWindow&)> MakeFillStatistics(AppContext& context,
                                                    PageFetch fetch = WinInetPageFetch());

}  // namespace quillet
