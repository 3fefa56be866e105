# A stand-in for the OpenSees interpreter: every command the generated scripts use, checking as the
# solver does that no tag of any kind (node, uniaxial and nD material, section, transformation,
# element, pattern, time series) is defined twice and that each tag a command refers to was
# defined before, with the degrees of freedom the command needs. Sourcing a generated script after
# this file runs its Tcl for real (variables, loops, expressions, pattern bodies) without analysing
# anything. A fault is a Tcl error naming it.

set ::kinds {nodes mats ndmats secs transfs eles patterns series}

proc wipe {} {
    foreach table $::kinds { array unset ::$table; array set ::$table {} }
    set ::ndf 6
}
wipe

proc define {table tag what} {
    upvar #0 $table t
    if {![string is integer -strict $tag]} { error "$what tag '$tag' is not an integer" }
    if {[info exists t($tag)]} { error "$what $tag defined twice" }
    set t($tag) 1
}
proc need {table tag what} {
    upvar #0 $table t
    if {![info exists t($tag)]} { error "$what $tag is not defined" }
}
proc needNode {tag dofs what} {
    need nodes $tag node
    if {$dofs ne "" && $::nodes($tag) != $dofs} {
        error "$what needs node $tag with $dofs dof, it has $::nodes($tag)"
    }
}
proc needNodes {tags dofs what} { foreach n $tags { needNode $n $dofs $what } }
proc needDof {tag dof what} {
    need nodes $tag node
    if {$dof < 1 || $dof > $::nodes($tag)} { error "$what: node $tag has no dof $dof" }
}
proc count {args expected what} {
    if {[llength $args] != $expected} { error "$what takes $expected values, not [llength $args]: $args" }
}
proc numbers {values} { foreach v $values { expr {double($v)} } }

proc model {args} {
    set i [lsearch $args -ndf]
    if {$i >= 0} { set ::ndf [lindex $args [expr {$i + 1}]] }
}
proc node {tag x y z} {
    numbers [list $x $y $z]
    define nodes $tag node
    set ::nodes($tag) $::ndf
}
proc fix {tag args} { need nodes $tag node; count $args $::nodes($tag) "fix of node $tag" }
proc mass {tag args} {
    need nodes $tag node; count $args $::nodes($tag) "mass of node $tag"; numbers $args
}
proc rigidDiaphragm {dir master slave} { needNodes [list $master $slave] 6 rigidDiaphragm }
proc equalDOF {retained constrained args} {
    if {$retained == $constrained} { error "equalDOF ties node $retained to itself" }
    foreach dof $args { needDof $retained $dof equalDOF; needDof $constrained $dof equalDOF }
}

proc uniaxialMaterial {type tag args} {
    array set counts {Elastic 1 Steel01 3 Concrete01 4 Steel02 6 Concrete02 7}
    if {![info exists counts($type)]} { error "unknown uniaxialMaterial $type" }
    count $args $counts($type) "uniaxialMaterial $type"
    numbers $args
    define mats $tag uniaxialMaterial
}
proc nDMaterial {type tag args} {
    switch -- $type {
        PlateFiber { count $args 1 $type; need ndmats [lindex $args 0] nDMaterial }
        ElasticIsotropic { count $args 2 $type; numbers $args }
        default { error "unknown nDMaterial $type" }
    }
    define ndmats $tag nDMaterial
}
proc section {type tag args} {
    switch -- $type {
        Fiber {
            define secs $tag section
            uplevel #0 [lindex $args end]
        }
        Aggregator {
            foreach {mat code} [lrange $args 0 end-2] { need mats $mat uniaxialMaterial }
            if {[lindex $args end-1] ne "-section"} { error "aggregator $tag: $args" }
            need secs [lindex $args end] section
            define secs $tag section
        }
        PlateFiber {
            count $args 2 "section PlateFiber"
            need ndmats [lindex $args 0] nDMaterial; define secs $tag section
        }
        default { error "unknown section type $type" }
    }
}
proc fiber {y z area mat} { need mats $mat uniaxialMaterial }
proc geomTransf {type tag args} {
    if {$type ni {Linear PDelta Corotational}} { error "unknown transformation $type" }
    count $args 3 geomTransf
    define transfs $tag geomTransf
}

proc element {type tag args} {
    switch -- $type {
        elasticBeamColumn {
            count $args 9 $type
            needNodes [lrange $args 0 1] 6 $type; need transfs [lindex $args end] geomTransf
        }
        nonlinearBeamColumn - dispBeamColumn {
            count $args 5 $type
            needNodes [lrange $args 0 1] 6 $type; need secs [lindex $args 3] section
            need transfs [lindex $args 4] geomTransf
        }
        beamWithHinges {
            count $args 13 $type
            needNodes [lrange $args 0 1] 6 $type; need secs [lindex $args 2] section
            need secs [lindex $args 4] section; need transfs [lindex $args end] geomTransf
        }
        trussSection - corotTrussSection {
            count $args 3 $type
            needNodes [lrange $args 0 1] "" $type; need secs [lindex $args 2] section
        }
        zeroLength {
            needNodes [lrange $args 0 1] 6 $type
            foreach mat [lrange $args 3 5] { need mats $mat uniaxialMaterial }
        }
        ElasticTimoshenkoBeam {
            count $args 11 $type
            needNodes [lrange $args 0 1] 6 $type; need transfs [lindex $args end] geomTransf
        }
        ShellMITC4 - ShellDKGQ {
            count $args 5 $type
            needNodes [lrange $args 0 3] 6 $type; need secs [lindex $args 4] section
        }
        stdBrick {
            count $args 9 $type
            needNodes [lrange $args 0 7] 3 $type; need ndmats [lindex $args 8] nDMaterial
        }
        default { error "unknown element type $type" }
    }
    define eles $tag element
}

# Recorders name existing nodes and elements only, as ranges or as lists.
proc recorder {kind args} {
    foreach {option table what} {-nodeRange nodes node -eleRange eles element} {
        set i [lsearch $args $option]
        if {$i < 0} continue
        set from [lindex $args [expr {$i + 1}]]; set to [lindex $args [expr {$i + 2}]]
        if {$from > $to} { error "recorder range $from $to is reversed" }
        for {set t $from} {$t <= $to} {incr t} { need $table $t $what }
    }
    foreach {option table what} {-node nodes node -ele eles element} {
        set i [lsearch -exact $args $option]
        if {$i < 0} continue
        foreach t [lrange $args [expr {$i + 1}] end] {
            if {![string is integer -strict $t]} break
            need $table $t $what
        }
    }
}
proc modalProperties {args} {}

# A time series given inline as "Series TAG ..." defines TAG; "Linear" has no tag.
proc series {given} {
    if {[lindex $given 0] eq "Series"} { define series [lindex $given 1] timeSeries }
}
proc pattern {type tag args} {
    define patterns $tag pattern
    switch -- $type {
        Plain {
            count $args 2 "pattern Plain"
            series [lindex $args 0]
            uplevel #0 [lindex $args end]
        }
        UniformExcitation {
            set i [lsearch $args -accel]
            if {$i < 0} { error "pattern UniformExcitation $tag without -accel" }
            series [lindex $args [expr {$i + 1}]]
        }
        MultiSupport { set ::groundMotions {}; uplevel #0 [lindex $args end] }
        default { error "unknown pattern $type" }
    }
}
proc load {tag args} { need nodes $tag node; count $args $::nodes($tag) "load of node $tag"; numbers $args }
proc eleLoad {args} { need eles [lindex $args 1] element }
proc groundMotion {tag type args} {
    if {$tag in $::groundMotions} { error "groundMotion $tag defined twice" }
    lappend ::groundMotions $tag
    series [lindex $args end]
}
proc imposedMotion {node dof motion} {
    needDof $node $dof imposedMotion
    if {$motion ni $::groundMotions} { error "groundMotion $motion is not defined" }
}
proc integrator {type args} {
    if {$type eq "DisplacementControl"} { needDof [lindex $args 0] [lindex $args 1] $type }
}
proc loadConst {args} {}
proc rayleigh {args} { numbers $args }
foreach command {constraints numberer system test algorithm analysis analyze record wipeAnalysis} {
    proc $command {args} {}
}
proc eigen {args} {
    set modes [lindex $args end]
    set values {}
    for {set i 1} {$i <= $modes} {incr i} { lappend values [expr {100.0 * $i}] }
    return $values
}
