// Writes the host program's manual page: the template with the parts made from the option
// and exit-code tables. Usage: make_manual TEMPLATE OUTPUT
#include "cli/manual_page.h"
#include "host/options.h"

int main(int argc, char** argv) {
    return WriteManualPage(argc, argv, HostProgram());
}
