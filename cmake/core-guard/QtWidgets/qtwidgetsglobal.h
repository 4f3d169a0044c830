// SPDX-License-Identifier: GPL-3.0-or-later
// Found before Qt's own header of this name by every core library: whatever
// widget or GUI header a core source includes, directly or through another
// header, ends here.
#error "skedra core rule: a core library includes a widget or GUI header"
