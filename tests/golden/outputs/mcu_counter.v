// QIRO 2.3c
// examples/mcu_counter.sch

module mcu_counter( clk1,pwl1,in1,k0,k1,k2,k3,b7,
 b6,b5,b4,b3,b2,b1,b0);
 input clk1,pwl1,in1,k0,k1,k2,k3;
 output b7,b6,b5,b4,b3,b2,b1,b0;
 not not4(w3,pwl1);
endmodule

// Simulation parameters
// clk1 CLK 10.000 10.000
// pwl1 PWL 20 1 
// in1 CLK 10 10
Verilog description written in "-"
