wipe
puts "System"
model basic -ndm 3 -ndf 6
puts "restraint"
node 1 0.000E+000 0.000E+000 0.000E+000
node 2 2.000E+003 0.000E+000 0.000E+000
node 3 4.000E+003 0.000E+000 0.000E+000
node 4 0.000E+000 0.000E+000 2.000E+003
node 5 2.000E+003 0.000E+000 2.000E+003
node 6 4.000E+003 0.000E+000 2.000E+003
node 7 0.000E+000 0.000E+000 4.000E+003
node 8 2.000E+003 0.000E+000 4.000E+003
node 9 4.000E+003 0.000E+000 4.000E+003
node 10 0.000E+000 0.000E+000 6.000E+003
node 11 2.000E+003 0.000E+000 6.000E+003
node 12 4.000E+003 0.000E+000 6.000E+003
node 13 0.000E+000 2.000E+003 6.000E+003
node 14 2.000E+003 2.000E+003 6.000E+003
node 15 4.000E+003 2.000E+003 6.000E+003
puts "rigidDiaphragm"
puts "mass"
puts "node"
fix 1 1 1 1 1 1 1;
fix 2 1 1 1 1 1 1;
fix 3 1 1 1 1 1 1;
puts "Equal DOF"
puts "material"
uniaxialMaterial Elastic 1 3.000E+004

nDMaterial ElasticIsotropic 1 3.000E+004 2.000E-001
##WALL200 
nDMaterial PlateFiber 601 1
section PlateFiber 701 601 200.00
##SLAB150 
nDMaterial PlateFiber 602 1
section PlateFiber 702 602 150.00
puts "transformation"
puts "element"
puts "shell element"
element ShellMITC4 1 1 2 5 4 701
element ShellMITC4 2 2 3 6 5 701
element ShellMITC4 3 4 5 8 7 701
element ShellMITC4 4 5 6 9 8 701
element ShellMITC4 5 7 8 11 10 701
element ShellMITC4 6 8 9 12 11 701
element ShellMITC4 7 10 11 14 13 702
element ShellMITC4 8 11 12 15 14 702
puts "SOLID element"
puts "recorder"
recorder Node -file node0.out -time -nodeRange 1 15 -dof 1 2 3 disp
puts "loading"
## Load Case = LIVE
pattern Plain 1 Linear {
load 13 0.000E+000 0.000E+000 -2.000E+004 0.000E+000 0.000E+000 0.000E+000
load 14 0.000E+000 0.000E+000 -2.000E+004 0.000E+000 0.000E+000 0.000E+000
load 15 0.000E+000 0.000E+000 -2.000E+004 0.000E+000 0.000E+000 0.000E+000
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
