# Runs generated scripts through the stand-in of the solver in one Tcl process (tests/tcl/
# ScriptTestSupport.h): arguments the folder to work in, the stand-in, a file listing the scripts
# and the report to write, one line a script: empty when it ran to its end, else its error.
cd [lindex $argv 0]
source [lindex $argv 1]
rename puts tclPuts
proc puts {args} { if {[llength $args] > 1} { tclPuts {*}$args } }
set report [open [lindex $argv 3] w]
set f [open [lindex $argv 2] r]
foreach script [split [string trim [read $f]] \n] {
    if {[catch {source $script} message]} { set message [string map {\n { }} $message] } else { set message {} }
    tclPuts $report $message
}
close $report
