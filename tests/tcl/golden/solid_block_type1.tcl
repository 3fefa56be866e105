wipe
puts "System"
model basic -ndm 3 -ndf 6
puts "restraint"
model BasicBuilder -ndm 3 -ndf 3
node 1 0.000E+000 0.000E+000 0.000E+000
node 2 1.000E+003 0.000E+000 0.000E+000
node 3 0.000E+000 1.000E+003 0.000E+000
node 4 1.000E+003 1.000E+003 0.000E+000
node 5 0.000E+000 0.000E+000 5.000E+002
node 6 1.000E+003 0.000E+000 5.000E+002
node 7 0.000E+000 1.000E+003 5.000E+002
node 8 1.000E+003 1.000E+003 5.000E+002
node 9 0.000E+000 0.000E+000 1.000E+003
node 10 1.000E+003 0.000E+000 1.000E+003
node 11 0.000E+000 1.000E+003 1.000E+003
node 12 1.000E+003 1.000E+003 1.000E+003
model BasicBuilder -ndm 3 -ndf 6
puts "rigidDiaphragm"
puts "mass"
mass 5 3.000E-001 3.000E-001 3.000E-001
mass 6 3.000E-001 3.000E-001 3.000E-001
mass 7 3.000E-001 3.000E-001 3.000E-001
mass 8 3.000E-001 3.000E-001 3.000E-001
mass 9 1.500E-001 1.500E-001 1.500E-001
mass 10 1.500E-001 1.500E-001 1.500E-001
mass 11 1.500E-001 1.500E-001 1.500E-001
mass 12 1.500E-001 1.500E-001 1.500E-001
puts "node"
fix 1 1 1 1;
fix 2 1 1 1;
fix 3 1 1 1;
fix 4 1 1 1;
puts "Equal DOF"
puts "material"
uniaxialMaterial Elastic 1 3.000E+004

puts "transformation"
puts "element"
puts "shell element"
puts "SOLID element"
nDMaterial ElasticIsotropic 1 3.000E+004 2.000E-001
element stdBrick 1 1 2 4 3 5 6 8 7 1
element stdBrick 2 5 6 8 7 9 10 12 11 1
puts "recorder"
recorder Node -file node0.out -time -nodeRange 1 12 -dof 1 2 3 disp
recorder Node -file react0.out -time -node 1 2 3 4 -dof 1 2 3 4 5 6 reaction
puts "loading"
## Load Case = TOP
pattern Plain 1 Linear {
load 9 0.000E+000 0.000E+000 -2.500E+004
load 10 0.000E+000 0.000E+000 -2.500E+004
load 11 0.000E+000 0.000E+000 -2.500E+004
load 12 0.000E+000 0.000E+000 -2.500E+004
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
