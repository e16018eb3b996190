// QIRO 2.3c
// examples/counter.sch

module counter( clk1,por,rst,digit11,digit12,digit13,digit14,q0,
 q1,q2,q3);
 input clk1,por,rst;
 output digit11,digit12,digit13,digit14,q0,q1,q2,q3;
 or or4(w4,rst,por);
 dreg dreg5(q0,w5,w5,w4,clk1);
 dreg dreg6(q1,w7,w7,w4,q0);
 dreg dreg7(q2,w9,w9,w4,q1);
 dreg dreg8(q3,w11,w11,w4,q2);
endmodule

// Simulation parameters
// clk1 CLK 50.000 50.000
// por PWL 10 1 
// rst CLK 10 10
Verilog description written in "-"
