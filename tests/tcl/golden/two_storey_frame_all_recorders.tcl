wipe
puts "System"
model basic -ndm 3 -ndf 6
puts "restraint"
node 1 0.000E+000 0.000E+000 0.000E+000
node 2 6.000E+003 0.000E+000 0.000E+000
node 3 1.200E+004 0.000E+000 0.000E+000
node 4 0.000E+000 5.000E+003 0.000E+000
node 5 6.000E+003 5.000E+003 0.000E+000
node 6 1.200E+004 5.000E+003 0.000E+000
node 7 0.000E+000 0.000E+000 3.500E+003
node 8 6.000E+003 0.000E+000 3.500E+003
node 9 1.200E+004 0.000E+000 3.500E+003
node 10 0.000E+000 5.000E+003 3.500E+003
node 11 6.000E+003 5.000E+003 3.500E+003
node 12 1.200E+004 5.000E+003 3.500E+003
node 13 0.000E+000 0.000E+000 7.000E+003
node 14 6.000E+003 0.000E+000 7.000E+003
node 15 1.200E+004 0.000E+000 7.000E+003
node 16 0.000E+000 5.000E+003 7.000E+003
node 17 6.000E+003 5.000E+003 7.000E+003
node 18 1.200E+004 5.000E+003 7.000E+003
node 19 6.000E+003 0.000E+000 3.500E+003
node 20 6.000E+003 2.500E+003 3.500E+003
node 21 6.000E+003 2.500E+003 7.000E+003
puts "rigidDiaphragm"
rigidDiaphragm 3 20 7
rigidDiaphragm 3 20 8
rigidDiaphragm 3 20 9
rigidDiaphragm 3 20 10
rigidDiaphragm 3 20 11
rigidDiaphragm 3 20 12
rigidDiaphragm 3 21 13
rigidDiaphragm 3 21 14
rigidDiaphragm 3 21 15
rigidDiaphragm 3 21 16
rigidDiaphragm 3 21 17
rigidDiaphragm 3 21 18
puts "mass"
mass 7 7.100E+000 7.100E+000 0.000E+000 0.000E+000 0.000E+000 0.000E+000
mass 8 7.100E+000 7.100E+000 0.000E+000 0.000E+000 0.000E+000 0.000E+000
mass 9 7.100E+000 7.100E+000 0.000E+000 0.000E+000 0.000E+000 0.000E+000
mass 10 7.100E+000 7.100E+000 0.000E+000 0.000E+000 0.000E+000 0.000E+000
mass 11 7.100E+000 7.100E+000 0.000E+000 0.000E+000 0.000E+000 0.000E+000
mass 12 7.100E+000 7.100E+000 0.000E+000 0.000E+000 0.000E+000 0.000E+000
mass 13 5.500E+000 5.500E+000 0.000E+000 0.000E+000 0.000E+000 0.000E+000
mass 14 5.500E+000 5.500E+000 0.000E+000 0.000E+000 0.000E+000 0.000E+000
mass 15 5.500E+000 5.500E+000 0.000E+000 0.000E+000 0.000E+000 0.000E+000
mass 16 5.500E+000 5.500E+000 0.000E+000 0.000E+000 0.000E+000 0.000E+000
mass 17 5.500E+000 5.500E+000 0.000E+000 0.000E+000 0.000E+000 0.000E+000
mass 18 5.500E+000 5.500E+000 0.000E+000 0.000E+000 0.000E+000 0.000E+000
puts "node"
fix 20 0 0 1 1 1 0
fix 21 0 0 1 1 1 0
fix 1 1 1 1 1 1 1;
fix 2 1 1 1 1 1 1;
fix 3 1 1 1 1 1 1;
fix 4 1 1 1 1 1 1;
fix 5 1 1 1 1 1 1;
fix 6 1 1 1 1 1 1;
puts "Equal DOF"
equalDOF 8 19 1 2 3
puts "material"
uniaxialMaterial Elastic 1 2.000E+005
uniaxialMaterial Elastic 2 2.500E+004
##NCOL400 
section Fiber 1 -GJ 3.756E+013 {
fiber -1.600E+002 -1.600E+002 6.400E+003 2
fiber -8.000E+001 -1.600E+002 6.400E+003 2
fiber 0.000E+000 -1.600E+002 6.400E+003 2
fiber 8.000E+001 -1.600E+002 6.400E+003 2
fiber 1.600E+002 -1.600E+002 6.400E+003 2
fiber -1.600E+002 -8.000E+001 6.400E+003 2
fiber -8.000E+001 -8.000E+001 6.400E+003 2
fiber 0.000E+000 -8.000E+001 6.400E+003 2
fiber 8.000E+001 -8.000E+001 6.400E+003 2
fiber 1.600E+002 -8.000E+001 6.400E+003 2
fiber -1.600E+002 0.000E+000 6.400E+003 2
fiber -8.000E+001 0.000E+000 6.400E+003 2
fiber 0.000E+000 0.000E+000 6.400E+003 2
fiber 8.000E+001 0.000E+000 6.400E+003 2
fiber 1.600E+002 0.000E+000 6.400E+003 2
fiber -1.600E+002 8.000E+001 6.400E+003 2
fiber -8.000E+001 8.000E+001 6.400E+003 2
fiber 0.000E+000 8.000E+001 6.400E+003 2
fiber 8.000E+001 8.000E+001 6.400E+003 2
fiber 1.600E+002 8.000E+001 6.400E+003 2
fiber -1.600E+002 1.600E+002 6.400E+003 2
fiber -8.000E+001 1.600E+002 6.400E+003 2
fiber 0.000E+000 1.600E+002 6.400E+003 2
fiber 8.000E+001 1.600E+002 6.400E+003 2
fiber 1.600E+002 1.600E+002 6.400E+003 2
fiber -1.650E+002 -1.650E+002 2.000E+002 1
fiber -8.250E+001 -1.650E+002 2.000E+002 1
fiber 0.000E+000 -1.650E+002 2.000E+002 1
fiber 8.250E+001 -1.650E+002 2.000E+002 1
fiber 1.650E+002 -1.650E+002 2.000E+002 1
fiber -1.650E+002 1.650E+002 2.000E+002 1
fiber -8.250E+001 1.650E+002 2.000E+002 1
fiber 0.000E+000 1.650E+002 2.000E+002 1
fiber 8.250E+001 1.650E+002 2.000E+002 1
fiber 1.650E+002 1.650E+002 2.000E+002 1
fiber -1.650E+002 -1.100E+002 2.000E+002 1
fiber -1.650E+002 -5.500E+001 2.000E+002 1
fiber -1.650E+002 0.000E+000 2.000E+002 1
fiber -1.650E+002 5.500E+001 2.000E+002 1
fiber -1.650E+002 1.100E+002 2.000E+002 1
fiber 1.650E+002 -1.100E+002 2.000E+002 1
fiber 1.650E+002 -5.500E+001 2.000E+002 1
fiber 1.650E+002 0.000E+000 2.000E+002 1
fiber 1.650E+002 5.500E+001 2.000E+002 1
fiber 1.650E+002 1.100E+002 2.000E+002 1
}
##DCOL350 
section Fiber 2 -GJ 2.201E+013 {
fiber -1.400E+002 -1.400E+002 4.900E+003 2
fiber -7.000E+001 -1.400E+002 4.900E+003 2
fiber 0.000E+000 -1.400E+002 4.900E+003 2
fiber 7.000E+001 -1.400E+002 4.900E+003 2
fiber 1.400E+002 -1.400E+002 4.900E+003 2
fiber -1.400E+002 -7.000E+001 4.900E+003 2
fiber -7.000E+001 -7.000E+001 4.900E+003 2
fiber 0.000E+000 -7.000E+001 4.900E+003 2
fiber 7.000E+001 -7.000E+001 4.900E+003 2
fiber 1.400E+002 -7.000E+001 4.900E+003 2
fiber -1.400E+002 0.000E+000 4.900E+003 2
fiber -7.000E+001 0.000E+000 4.900E+003 2
fiber 0.000E+000 0.000E+000 4.900E+003 2
fiber 7.000E+001 0.000E+000 4.900E+003 2
fiber 1.400E+002 0.000E+000 4.900E+003 2
fiber -1.400E+002 7.000E+001 4.900E+003 2
fiber -7.000E+001 7.000E+001 4.900E+003 2
fiber 0.000E+000 7.000E+001 4.900E+003 2
fiber 7.000E+001 7.000E+001 4.900E+003 2
fiber 1.400E+002 7.000E+001 4.900E+003 2
fiber -1.400E+002 1.400E+002 4.900E+003 2
fiber -7.000E+001 1.400E+002 4.900E+003 2
fiber 0.000E+000 1.400E+002 4.900E+003 2
fiber 7.000E+001 1.400E+002 4.900E+003 2
fiber 1.400E+002 1.400E+002 4.900E+003 2
fiber -1.400E+002 -1.400E+002 2.000E+002 1
fiber -7.000E+001 -1.400E+002 2.000E+002 1
fiber 0.000E+000 -1.400E+002 2.000E+002 1
fiber 7.000E+001 -1.400E+002 2.000E+002 1
fiber 1.400E+002 -1.400E+002 2.000E+002 1
fiber -1.400E+002 1.400E+002 2.000E+002 1
fiber -7.000E+001 1.400E+002 2.000E+002 1
fiber 0.000E+000 1.400E+002 2.000E+002 1
fiber 7.000E+001 1.400E+002 2.000E+002 1
fiber 1.400E+002 1.400E+002 2.000E+002 1
fiber -1.400E+002 -9.333E+001 2.000E+002 1
fiber -1.400E+002 -4.667E+001 2.000E+002 1
fiber -1.400E+002 0.000E+000 2.000E+002 1
fiber -1.400E+002 4.667E+001 2.000E+002 1
fiber -1.400E+002 9.333E+001 2.000E+002 1
fiber 1.400E+002 -9.333E+001 2.000E+002 1
fiber 1.400E+002 -4.667E+001 2.000E+002 1
fiber 1.400E+002 0.000E+000 2.000E+002 1
fiber 1.400E+002 4.667E+001 2.000E+002 1
fiber 1.400E+002 9.333E+001 2.000E+002 1
}
##TPIPE168 
section Fiber 5 -GJ 1.996E+012 {
fiber 8.015E+001 0.000E+000 2.014E+002 1
fiber 7.623E+001 2.477E+001 2.014E+002 1
fiber 6.484E+001 4.711E+001 2.014E+002 1
fiber 4.711E+001 6.484E+001 2.014E+002 1
fiber 2.477E+001 7.623E+001 2.014E+002 1
fiber -2.010E-018 8.015E+001 2.014E+002 1
fiber -2.477E+001 7.623E+001 2.014E+002 1
fiber -4.711E+001 6.484E+001 2.014E+002 1
fiber -6.484E+001 4.711E+001 2.014E+002 1
fiber -7.623E+001 2.477E+001 2.014E+002 1
fiber -8.015E+001 -4.021E-018 2.014E+002 1
fiber -7.623E+001 -2.477E+001 2.014E+002 1
fiber -6.484E+001 -4.711E+001 2.014E+002 1
fiber -4.711E+001 -6.484E+001 2.014E+002 1
fiber -2.477E+001 -7.623E+001 2.014E+002 1
fiber 1.472E-017 -8.015E+001 2.014E+002 1
fiber 2.477E+001 -7.623E+001 2.014E+002 1
fiber 4.711E+001 -6.484E+001 2.014E+002 1
fiber 6.484E+001 -4.711E+001 2.014E+002 1
fiber 7.623E+001 -2.477E+001 2.014E+002 1
}
##CPIPE168 
section Fiber 6 -GJ 1.996E+012 {
fiber 8.015E+001 0.000E+000 2.014E+002 1
fiber 7.623E+001 2.477E+001 2.014E+002 1
fiber 6.484E+001 4.711E+001 2.014E+002 1
fiber 4.711E+001 6.484E+001 2.014E+002 1
fiber 2.477E+001 7.623E+001 2.014E+002 1
fiber -2.010E-018 8.015E+001 2.014E+002 1
fiber -2.477E+001 7.623E+001 2.014E+002 1
fiber -4.711E+001 6.484E+001 2.014E+002 1
fiber -6.484E+001 4.711E+001 2.014E+002 1
fiber -7.623E+001 2.477E+001 2.014E+002 1
fiber -8.015E+001 -4.021E-018 2.014E+002 1
fiber -7.623E+001 -2.477E+001 2.014E+002 1
fiber -6.484E+001 -4.711E+001 2.014E+002 1
fiber -4.711E+001 -6.484E+001 2.014E+002 1
fiber -2.477E+001 -7.623E+001 2.014E+002 1
fiber 1.472E-017 -8.015E+001 2.014E+002 1
fiber 2.477E+001 -7.623E+001 2.014E+002 1
fiber 4.711E+001 -6.484E+001 2.014E+002 1
fiber 6.484E+001 -4.711E+001 2.014E+002 1
fiber 7.623E+001 -2.477E+001 2.014E+002 1
}

puts "transformation"
geomTransf Linear 1 1.000 0.000 0.000 
geomTransf Linear 2 1.000 0.000 0.000 
geomTransf Linear 3 1.000 0.000 0.000 
geomTransf Linear 4 1.000 0.000 0.000 
geomTransf Linear 5 1.000 0.000 0.000 
geomTransf Linear 6 1.000 0.000 0.000 
geomTransf Linear 7 1.000 0.000 0.000 
geomTransf Linear 8 1.000 0.000 0.000 
geomTransf Linear 9 1.000 0.000 0.000 
geomTransf Linear 10 1.000 0.000 0.000 
geomTransf Linear 11 1.000 0.000 0.000 
geomTransf Linear 12 1.000 0.000 0.000 
geomTransf Linear 13 0.000 0.000 1.000 
geomTransf Linear 14 0.000 0.000 1.000 
geomTransf Linear 15 0.000 0.000 1.000 
geomTransf Linear 16 0.000 0.000 1.000 
geomTransf Linear 17 0.000 0.000 1.000 
geomTransf Linear 18 0.000 0.000 1.000 
geomTransf Linear 19 0.000 0.000 1.000 
geomTransf Linear 20 0.000 0.000 1.000 
geomTransf Linear 21 0.000 0.000 1.000 
geomTransf Linear 22 0.000 0.000 1.000 
geomTransf Linear 23 0.000 0.000 1.000 
geomTransf Linear 24 0.000 0.000 1.000 
geomTransf Linear 25 0.000 0.000 1.000 
geomTransf Linear 26 0.000 0.000 1.000 
puts "element"
element nonlinearBeamColumn 1 1 7 3 1 1
element nonlinearBeamColumn 2 2 8 3 1 2
element nonlinearBeamColumn 3 3 9 3 1 3
element nonlinearBeamColumn 4 4 10 3 1 4
element nonlinearBeamColumn 5 5 11 3 1 5
element nonlinearBeamColumn 6 6 12 3 1 6
element dispBeamColumn 7 7 13 3 2 7
element dispBeamColumn 8 8 14 3 2 8
element dispBeamColumn 9 9 15 3 2 9
element dispBeamColumn 10 10 16 3 2 10
element dispBeamColumn 11 11 17 3 2 11
element dispBeamColumn 12 12 18 3 2 12
element elasticBeamColumn 13 7 8 8.068E+003 2.000E+005 7.692E+004 3.801E+005 2.188E+008 1.314E+007 13
element elasticBeamColumn 14 8 9 8.068E+003 2.000E+005 7.692E+004 3.801E+005 2.188E+008 1.314E+007 14
element elasticBeamColumn 15 10 11 8.068E+003 2.000E+005 7.692E+004 3.801E+005 2.188E+008 1.314E+007 15
element elasticBeamColumn 16 11 12 8.068E+003 2.000E+005 7.692E+004 3.801E+005 2.188E+008 1.314E+007 16
element elasticBeamColumn 17 13 14 8.068E+003 2.000E+005 7.692E+004 3.801E+005 2.188E+008 1.314E+007 17
element elasticBeamColumn 18 14 15 8.068E+003 2.000E+005 7.692E+004 3.801E+005 2.188E+008 1.314E+007 18
element elasticBeamColumn 19 16 17 8.068E+003 2.000E+005 7.692E+004 3.801E+005 2.188E+008 1.314E+007 19
element elasticBeamColumn 20 17 18 8.068E+003 2.000E+005 7.692E+004 3.801E+005 2.188E+008 1.314E+007 20
element elasticBeamColumn 21 7 10 9.600E+003 2.000E+005 7.692E+004 1.440E+008 1.207E+008 6.392E+007 21
element elasticBeamColumn 22 8 11 9.600E+003 2.000E+005 7.692E+004 1.440E+008 1.207E+008 6.392E+007 22
element elasticBeamColumn 23 9 12 9.600E+003 2.000E+005 7.692E+004 1.440E+008 1.207E+008 6.392E+007 23
element elasticBeamColumn 24 13 16 9.600E+003 2.000E+005 7.692E+004 1.440E+008 1.207E+008 6.392E+007 24
element elasticBeamColumn 25 14 17 9.600E+003 2.000E+005 7.692E+004 1.440E+008 1.207E+008 6.392E+007 25
element elasticBeamColumn 26 15 18 9.600E+003 2.000E+005 7.692E+004 1.440E+008 1.207E+008 6.392E+007 26
element trussSection 27 1 8 5
element corotTrussSection 28 7 14 6
element zeroLength 29 19 8 -mat 1 1 1 -dir 4 5 6
puts "shell element"
puts "SOLID element"
puts "recorder"
recorder Node -file node0.out -time -nodeRange 1 21 -dof 1 2 3 disp
recorder Node -file node0_rot.out -time -nodeRange 1 21 -dof 4 5 6 disp
recorder Node -file react0.out -time -node 1 2 3 4 5 6 20 21 -dof 1 2 3 4 5 6 reaction
recorder Element -file ele0.out -time -eleRange 1 29 localForce
recorder Element -file ele0_axial.out -time -ele 28 axialForce
recorder Element -file ele0_secs.out -time -eleRange 1 29 section 1 deformation
recorder Element -file ele0_secn.out -time -eleRange 1 29 section 3 deformation
recorder Node -file eigen1_node0.out -time -nodeRange 1 21 -dof 1 2 3 "eigen 1"
recorder Node -file eigen2_node0.out -time -nodeRange 1 21 -dof 1 2 3 "eigen 2"
recorder Node -file eigen3_node0.out -time -nodeRange 1 21 -dof 1 2 3 "eigen 3"
set numModes 3
set lambda [eigen  $numModes]
set period "Periods.txt"
set Periods [open $period "w"]
puts $Periods " $lambda"
close $Periods
record
modalProperties -file ModalProperties.txt
