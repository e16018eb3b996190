// QIRO 2.3c
// examples/jk_toggle.sch

module jk_toggle( clk1,set,por,q,nq);
 input clk1,set,por;
 output q,nq;
endmodule

// Simulation parameters
// clk1 CLK 50.000 50.000
// set CLK 10 10
// por PWL 10 1 
Verilog description written in "-"
