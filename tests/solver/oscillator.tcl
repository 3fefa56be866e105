# The run script of the suite folders the runners' tests make (tests/solver/SuiteFolders.cpp
# fills in the @ fields): an oscillator of one degree of freedom under the run's scaled record,
# stepped one step at a time, writing outcome.txt as a run must.
set f [open starts.txt a]; puts $f start; close $f
@BEFORE
model BasicBuilder -ndm 1 -ndf 1
node 1 0.0
node 2 0.0 -mass 1.0
fix 1 1
uniaxialMaterial @MATERIAL
element zeroLength 1 1 2 -mat 1 -dir 1
if {![file exists record.txt]} { error "the record file record.txt is missing" }
timeSeries Path 1 -dt @DT -filePath record.txt -factor @FACTOR
pattern UniformExcitation 1 1 -accel 1
rayleigh @DAMPING 0 0 0
constraints Plain
numberer Plain
system BandGeneral
test NormUnbalance 1e-6 1
algorithm Newton
integrator Newmark 0.5 0.25
analysis Transient
set converged yes
set peakU 0.0
set peakV 0.0
for {set i 0} {$i < @STEPS} {incr i} {
    if {[analyze 1 @DT] != 0} { set converged no; break }
    set u [expr {abs([nodeDisp 2 1])}]
    if {$u > $peakU} { set peakU $u }
    reactions
    set v [expr {abs([nodeReaction 1 1])}]
    if {$v > $peakV} { set peakV $v }
}
set f [open outcome.txt w]
puts $f "converged $converged"
puts $f "time [getTime]"
puts $f "peakDrift [expr {$peakU / @HEIGHT}]"
puts $f "peakRoof $peakU"
puts $f "peakBaseShear $peakV"
puts $f end
close $f
