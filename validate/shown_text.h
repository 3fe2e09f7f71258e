// Texts the validator did not write (the driver's reasons, the loader's messages, paths) as
// it shows them: escaped as the host program escapes them, so that no control character of a
// driver's or a module's text reaches the terminal raw.
#ifndef QX_VALIDATE_SHOWN_TEXT_H
#define QX_VALIDATE_SHOWN_TEXT_H

#include <string>

std::string Shown(const std::string& utf8);

#endif
