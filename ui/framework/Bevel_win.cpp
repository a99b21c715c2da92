#include "ui/framework/Bevel.h"

namespace lumora {

void Bevel::Create(FormWindow& form, const Args& args) {
    Join(form, args);
    vertical_ = args.vertical;
}

void Bevel::Draw(HDC dc, const RECT& bounds) const {
    RECT edge = bounds;
    DrawEdge(dc, &edge, EDGE_ETCHED, vertical_ ? BF_LEFT : BF_TOP);
}

}  // namespace lumora
