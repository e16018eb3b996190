// QIRO 2.3c
// examples/mcu_counter.sch
// Portable netlist: complete on its own for a Verilog simulator (checked with Icarus Verilog).
// A gate output at x does not drive in Qiro; on nodes with several drivers such outputs
// drive z here (qiro_drive). Two drivers at opposite levels on one node give x here,
// where Qiro keeps the later one in its symbol table.
// Delays: each output carries the delay of its Qiro delay line in ns (one step is 1 ns) as a transport delay: pulses of any width pass.
// Qiro's glitch filter (option, on by default) removes one-step pulses (010, 101) before they
// leave a line of 5 steps or more (a delay of 4 steps or more); this netlist keeps them.
// Qiro computes nothing before its first step (step 3): outputs decided by supplies alone
// settle here from time 0.
// Not written: the 8051 i8051; the nodes it drives are undriven here.

`timescale 1ns / 1ps
module mcu_counter(clk1, pwl1, in1, k0, k1, k2, k3, b7, b6, b5, b4, b3, b2, b1, b0);
 input clk1, pwl1, in1, k0, k1, k2, k3;
 output b7, b6, b5, b4, b3, b2, b1, b0;
 wire w3;
 reg not4_r;
 always @* not4_r <= #1 ~pwl1;
 assign w3 = not4_r;
endmodule

// Simulation parameters
// clk1 CLK 10.000 10.000
// pwl1 PWL 20 1 
// in1 CLK 10 10

// Testbench: the inputs follow the stimuli above from Qiro's first step (step 3) on; one step
// is 1 ns. Run: iverilog FILE && vvp a.out
module mcu_counter_tb;
  parameter STEPS = 200;
  localparam real TU = 1;
  reg clk1, pwl1, in1, k0, k1, k2, k3;
  wire b7, b6, b5, b4, b3, b2, b1, b0;
  integer step;
  mcu_counter dut(.clk1(clk1), .pwl1(pwl1), .in1(in1), .k0(k0), .k1(k1), .k2(k2), .k3(k3), .b7(b7), .b6(b6), .b5(b5), .b4(b4), .b3(b3), .b2(b2), .b1(b1), .b0(b0));
  initial begin
    $dumpfile("mcu_counter.vcd");
    $dumpvars(1, dut);
    #(3 * TU);
    clk1 = 1'b0;
    in1 = 1'b0;
    k0 = 1'b0;  // keyboard kbd1: key 0
    k1 = 1'b0;  // keyboard kbd1: key 0
    k2 = 1'b0;  // keyboard kbd1: key 0
    k3 = 1'b0;  // keyboard kbd1: key 0
    for (step = 3; step <= STEPS; step = step + 1) begin
      if (step % 20 == 0) clk1 = 1'b0; else if (step % 20 == 10) clk1 = 1'b1;  // clock clock1
      case (step) 3: pwl1 = 1'b1; 21: pwl1 = 1'b0; endcase  // pwl pwl1
      if (step % 20 == 0) in1 = 1'b0; else if (step % 20 == 10) in1 = 1'b1;  // button button1
      #(TU);
    end
    $finish;
  end
endmodule
Verilog description written in "-"
