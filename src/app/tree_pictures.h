#pragma once
// The small pictures of the tree's nodes by picture number: 0 estimate, 1 internal chapter,
// 2 external chapter, 3 work group, 4 element, 5 position, 6 one-off equipment costs,
// 7 simplified position, 8 scaffolding. Drawn once and kept.
#include <QIcon>

namespace kovra::app {

QIcon tree_picture(int picture);

} // namespace kovra::app
