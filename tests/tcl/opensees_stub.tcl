# A stand-in for the OpenSees interpreter: every command the generated scripts use, checking that
# each tag a command refers to was defined before, as the solver does. Sourcing a generated script
# after this file runs its Tcl for real (variables, loops, expressions, pattern bodies) without
# analysing anything. A reference to an undefined tag is a Tcl error naming it.

foreach table {nodes mats ndmats secs transfs eles} { array set $table {} }

proc need {table tag what} {
    upvar #0 $table t
    if {![info exists t($tag)]} { error "$what $tag is not defined" }
}
proc needNodes {tags} { foreach n $tags { need nodes $n node } }
proc count {args expected what} {
    if {[llength $args] != $expected} { error "$what takes $expected values, not [llength $args]: $args" }
}

proc wipe {} { foreach table {nodes mats ndmats secs transfs eles} { array unset ::$table } }
proc model {args} {}
proc node {tag x y z} {
    if {[info exists ::nodes($tag)]} { error "node $tag defined twice" }
    foreach c [list $x $y $z] { expr {double($c)} }
    set ::nodes($tag) 1
}
proc fix {tag args} { need nodes $tag node; count $args 6 fix }
proc mass {tag args} { need nodes $tag node; count $args 6 mass }
proc rigidDiaphragm {dir master slave} { needNodes [list $master $slave] }
proc equalDOF {retained constrained args} { needNodes [list $retained $constrained] }

proc uniaxialMaterial {type tag args} {
    array set counts {Elastic 1 Steel01 3 Concrete01 4 Steel02 6 Concrete02 7}
    if {![info exists counts($type)]} { error "unknown uniaxialMaterial $type" }
    count $args $counts($type) "uniaxialMaterial $type"
    foreach v $args { expr {double($v)} }
    if {[info exists ::mats($tag)]} { error "uniaxialMaterial $tag defined twice" }
    set ::mats($tag) 1
}
proc nDMaterial {type tag args} {
    if {$type eq "PlateFiber"} { need ndmats [lindex $args 0] nDMaterial }
    set ::ndmats($tag) 1
}
proc section {type tag args} {
    switch -- $type {
        Fiber {
            set ::secs($tag) 1
            uplevel #0 [lindex $args end]
        }
        Aggregator {
            foreach {mat code} [lrange $args 0 end-2] { need mats $mat uniaxialMaterial }
            if {[lindex $args end-1] ne "-section"} { error "aggregator $tag: $args" }
            need secs [lindex $args end] section
            set ::secs($tag) 1
        }
        PlateFiber { need ndmats [lindex $args 0] nDMaterial; set ::secs($tag) 1 }
        default { error "unknown section type $type" }
    }
}
proc fiber {y z area mat} { need mats $mat uniaxialMaterial }
proc geomTransf {type tag args} {
    if {$type ni {Linear PDelta Corotational}} { error "unknown transformation $type" }
    count $args 3 geomTransf
    set ::transfs($tag) 1
}

proc element {type tag args} {
    switch -- $type {
        elasticBeamColumn {
            count $args 9 $type
            needNodes [lrange $args 0 1]; need transfs [lindex $args end] geomTransf
        }
        nonlinearBeamColumn - dispBeamColumn {
            count $args 5 $type
            needNodes [lrange $args 0 1]; need secs [lindex $args 3] section
            need transfs [lindex $args 4] geomTransf
        }
        beamWithHinges {
            count $args 13 $type
            needNodes [lrange $args 0 1]; need secs [lindex $args 2] section
            need secs [lindex $args 4] section; need transfs [lindex $args end] geomTransf
        }
        trussSection - corotTrussSection {
            count $args 3 $type
            needNodes [lrange $args 0 1]; need secs [lindex $args 2] section
        }
        zeroLength {
            needNodes [lrange $args 0 1]
            foreach mat [lrange $args 3 5] { need mats $mat uniaxialMaterial }
        }
        ElasticTimoshenkoBeam {
            count $args 11 $type
            needNodes [lrange $args 0 1]; need transfs [lindex $args end] geomTransf
        }
        ShellMITC4 - ShellDKGQ {
            count $args 5 $type
            needNodes [lrange $args 0 3]; need secs [lindex $args 4] section
        }
        stdBrick { count $args 9 $type; needNodes [lrange $args 0 7] }
        default { error "unknown element type $type" }
    }
    set ::eles($tag) 1
}

proc recorder {args} {}
proc pattern {type tag args} {
    if {$type in {Plain MultiSupport}} { uplevel #0 [lindex $args end] }
}
proc load {tag args} { need nodes $tag node; count $args 6 load }
proc eleLoad {args} { need eles [lindex $args 1] element }
proc groundMotion {args} {}
proc imposedMotion {node dof motion} { need nodes $node node }
proc loadConst {args} {}
proc rayleigh {args} { foreach a $args { expr {double($a)} } }
foreach command {constraints numberer system test algorithm integrator analysis analyze record} {
    proc $command {args} {}
}
proc eigen {args} {
    set modes [lindex $args end]
    set values {}
    for {set i 1} {$i <= $modes} {incr i} { lappend values [expr {100.0 * $i}] }
    return $values
}
