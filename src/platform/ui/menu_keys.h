// Menu keys beyond the toolkit's own: every letter a caption marks runs its item.
#pragma once

class QMenu;

namespace tessary {

// The toolkit takes only the first marked letter of a caption; a caption that marks two
// ("終了(&Q && &X)") runs its item by either once this is installed on its menu. A letter that
// two items of the menu mark is left to the toolkit, which moves between them.
void RunEveryMarkedLetter(QMenu& menu);

}  // namespace tessary
