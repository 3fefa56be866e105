wipe
puts "System"
model basic -ndm 3 -ndf 6
puts "restraint"
node 1 0.000E+000 0.000E+000 0.000E+000
node 2 0.000E+000 0.000E+000 3.000E+003
puts "rigidDiaphragm"
puts "mass"
puts "node"
fix 1 1 1 1 1 1 1;
puts "Equal DOF"
puts "material"
uniaxialMaterial Elastic 1 3.000E+004

puts "transformation"
geomTransf Linear 1 1.000 0.000 0.000 
puts "element"
element elasticBeamColumn 1 1 2 1.500E+005 3.000E+004 1.250E+004 2.8173708E+009 3.125E+009 1.125E+009 1
puts "shell element"
puts "SOLID element"
puts "recorder"
recorder Node -file node0.out -time -nodeRange 1 2 -dof 1 2 3 disp
puts "loading"
## Load Case = 
pattern Plain 1 Linear {
}
puts "analysis"
constraints Plain
numberer Plain
system BandGeneral
test EnergyIncr 1.0e-6 200
algorithm Newton
integrator LoadControl 1.000E-002
analysis Static
for {set step 1} {$step <= 100} {incr step} {
    if {[analyze 1] != 0} break
    puts "Step $step of 100"
    flush stdout
}
